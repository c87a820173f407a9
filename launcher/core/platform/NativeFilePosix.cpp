#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/NativeFile.h"

namespace morvo {

namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

// Close-on-exec everywhere: a program started during the run (restart, self-update) must not
// inherit a lock or a file and keep it after this process ends.
std::intptr_t OpenFd(const std::string& path, int flags, mode_t mode = 0644) {
  return ::open(path.c_str(), flags | O_CLOEXEC, mode);
}

}  // namespace

NativeFile NativeFile::OpenToRead(const std::string& path) {
  return NativeFile(OpenFd(path, O_RDONLY | O_NONBLOCK));
}

NativeFile NativeFile::OpenOrCreate(const std::string& path) {
  return NativeFile(OpenFd(path, O_RDWR | O_CREAT));
}

NativeFile NativeFile::OpenToAppend(const std::string& path) {
  return NativeFile(OpenFd(path, O_WRONLY | O_CREAT | O_APPEND));
}

NativeFile NativeFile::CreateNew(const std::string& path) {
  return NativeFile(OpenFd(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW));
}

std::int64_t NativeFile::Read(void* out, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(Fd(handle_), out, size);
  } while (n < 0 && errno == EINTR);
  return n;
}

bool NativeFile::WriteAll(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(Fd(handle_), bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool NativeFile::SeekTo(std::int64_t position) {
  return ::lseek(Fd(handle_), position, SEEK_SET) == position;
}

std::optional<std::int64_t> NativeFile::RegularFileSize() const {
  struct stat info {};
  if (::fstat(Fd(handle_), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return info.st_size;
}

LockResult NativeFile::TryLock() {
  while (::flock(Fd(handle_), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? LockResult::HeldElsewhere : LockResult::Failed;
  }
  return LockResult::Locked;
}

bool NativeFile::SetPermissions(unsigned mode) {
  return ::fchmod(Fd(handle_), static_cast<mode_t>(mode)) == 0;
}

bool NativeFile::FlushToDisk() { return ::fsync(Fd(handle_)) == 0; }

void NativeFile::StartWriteBack() { ::sync_file_range(Fd(handle_), 0, 0, SYNC_FILE_RANGE_WRITE); }

KernelCopy NativeFile::CopyInKernel(NativeFile& source, std::size_t size) {
  KernelCopy result;
  while (result.Copied < size) {
    const ssize_t n = ::copy_file_range(Fd(source.handle_), nullptr, Fd(handle_), nullptr,
                                        size - result.Copied, 0);
    if (n > 0) {
      result.Copied += static_cast<std::size_t>(n);
    } else if (n == 0) {
      break;  // the source ended
    } else if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
      // Another file system, or one that cannot copy by itself.
      result.Unsupported = true;
      break;
    } else if (errno != EINTR) {
      result.Failed = true;
      break;
    }
  }
  return result;
}

bool NativeFile::Close() {
  const std::intptr_t old = Release();
  return old == kNone || ::close(Fd(old)) == 0;
}

}  // namespace morvo
