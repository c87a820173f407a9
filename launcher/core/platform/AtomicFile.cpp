#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "engine/TemporaryNames.h"
#include "platform/ProgramDir.h"

namespace morvo {

namespace {
// Writes are gathered so that many small chunks cost few system calls.
constexpr std::size_t kBufferSize = 256 * 1024;

// The rename itself reaches the disk with its folder.
void SyncFolderOf(const std::string& path) {
  const std::string folderPath = FolderOfPath(path).empty() ? "." : FolderOfPath(path);
  const UniqueFd folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.IsOpen()) ::fsync(folder.Get());
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : target_(std::move(targetPath)), temp_(target_ + kAtomicWriteSuffix) {
  // What an interrupted attempt left is removed, and the file is then created exclusively: a
  // link planted under the temporary name, symbolic or hard, is never written through.
  ::unlink(temp_.c_str());
  fd_.Reset(::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644));
  buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_.IsOpen()) {
    fd_.Reset();
    ::unlink(temp_.c_str());
  }
}

bool AtomicFileWriter::Flush() {
  std::size_t done = 0;
  while (!failed_ && done < buffer_.size()) {
    const ssize_t n = ::write(fd_.Get(), buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      failed_ = true;
    else
      done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return !failed_;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
  if (!fd_.IsOpen() || failed_) return false;
  if (buffer_.size() + size > kBufferSize && !Flush()) return false;
  buffer_.append(static_cast<const char*>(data), size);
  return true;
}

std::size_t AtomicFileWriter::CopyThroughBuffer(int source, std::size_t size) {
  char chunk[64 * 1024];
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(source, chunk, std::min(sizeof chunk, size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || !Write(chunk, static_cast<std::size_t>(n))) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t AtomicFileWriter::CopyFrom(int source, std::size_t size) {
  if (!fd_.IsOpen() || failed_ || !Flush()) return 0;
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::copy_file_range(source, nullptr, fd_.Get(), nullptr, size - done, 0);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0) {
      break;  // the source ended
    } else if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
      // Another file system, or one that cannot copy by itself: through user space.
      return done + CopyThroughBuffer(source, size - done);
    } else if (errno != EINTR) {
      failed_ = true;
      break;
    }
  }
  return done;
}

bool AtomicFileWriter::Commit(mode_t mode, bool durable) {
  if (!fd_.IsOpen() || !Flush()) return false;
  const bool modeSet = ::fchmod(fd_.Get(), mode) == 0 && (!durable || ::fsync(fd_.Get()) == 0);
  const bool closed = fd_.Reset();
  const bool written = modeSet && closed;
  if (written && ::rename(temp_.c_str(), target_.c_str()) == 0) {
    if (durable) SyncFolderOf(target_);
    return true;
  }
  ::unlink(temp_.c_str());
  return false;
}

bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                           mode_t mode) {
  AtomicFileWriter writer(path);
  return writer.Write(bytes.data(), bytes.size()) && writer.Commit(mode, true);
}

}  // namespace morvo
