#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FileHandle.h"

namespace vka {

namespace {

int fd(std::intptr_t native) { return static_cast<int>(native); }

}  // namespace

bool FileHandle::open(const char* path, const char* mode) {
  close();
  if (path == nullptr || mode == nullptr) return false;
  int flags = 0;
  if (std::strcmp(mode, "r") == 0) {
    flags = O_RDONLY;
  } else if (std::strcmp(mode, "r+") == 0) {
    flags = O_RDWR;
  } else if (std::strcmp(mode, "w") == 0) {
    flags = O_WRONLY | O_CREAT | O_TRUNC;
  } else if (std::strcmp(mode, "w+") == 0) {
    flags = O_RDWR | O_CREAT | O_TRUNC;
  } else if (std::strcmp(mode, "a+") == 0) {
    flags = O_RDWR | O_CREAT;  // an archive appends at its own end; no O_APPEND
  } else {
    return false;
  }
  int opened = -1;
  do {
    opened = ::open(path, flags | O_CLOEXEC, 0666);
  } while (opened < 0 && errno == EINTR);
  if (opened >= 0) native_ = opened;
  return opened >= 0;
}

void FileHandle::close() {
  if (isOpen()) ::close(fd(native_));
  native_ = kNone;
}

std::int64_t FileHandle::size() const {
  struct stat status {};
  if (!isOpen() || ::fstat(fd(native_), &status) != 0) return -1;
  return status.st_size;
}

bool FileHandle::readAt(std::uint64_t position, void* into, std::size_t count) const {
  auto* cursor = static_cast<unsigned char*>(into);
  while (count > 0) {
    ssize_t got = ::pread(fd(native_), cursor, count, static_cast<off_t>(position));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    cursor += got;
    position += static_cast<std::uint64_t>(got);
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool FileHandle::writeAt(std::uint64_t position, const void* from, std::size_t count) {
  const auto* cursor = static_cast<const unsigned char*>(from);
  while (count > 0) {
    ssize_t put = ::pwrite(fd(native_), cursor, count, static_cast<off_t>(position));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    cursor += put;
    position += static_cast<std::uint64_t>(put);
    count -= static_cast<std::size_t>(put);
  }
  return true;
}

std::int64_t FileHandle::readSome(void* into, std::size_t count) {
  for (;;) {
    ssize_t got = ::read(fd(native_), into, count);
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

bool FileHandle::sync() { return isOpen() && ::fdatasync(fd(native_)) == 0; }

void FileHandle::startWriteBack(std::uint64_t position, std::uint64_t length) {
  if (isOpen()) {
    ::sync_file_range(fd(native_), static_cast<off_t>(position), static_cast<off_t>(length),
                      SYNC_FILE_RANGE_WRITE);
  }
}

bool FileHandle::truncate(std::uint64_t length) {
  return isOpen() && ::ftruncate(fd(native_), static_cast<off_t>(length)) == 0;
}

void FileHandle::releaseCache() const {
  if (isOpen()) ::posix_fadvise(fd(native_), 0, 0, POSIX_FADV_DONTNEED);
}

std::int64_t FileHandle::copyRangeFrom(const FileHandle& source, std::uint64_t from,
                                       std::uint64_t to, std::uint64_t length) {
  for (;;) {
    auto in = static_cast<off_t>(from), out = static_cast<off_t>(to);
    const ssize_t copied = ::copy_file_range(fd(source.native_), &in, fd(native_), &out, length, 0);
    if (copied < 0 && errno == EINTR) continue;
    return copied < 0 ? -1 : copied;
  }
}

void FileHandle::copyAccessFrom(const FileHandle& model) {
  struct stat status {};
  if (::fstat(fd(model.native_), &status) == 0) ::fchmod(fd(native_), status.st_mode & 07777);
}

}  // namespace vka
