#include "FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vka {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

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
  do {
    fd_ = ::open(path, flags | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  return fd_ >= 0;
}

void FileHandle::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::int64_t FileHandle::size() const {
  struct stat status {};
  if (fd_ < 0 || ::fstat(fd_, &status) != 0) return -1;
  return status.st_size;
}

bool FileHandle::readAt(std::uint64_t position, void* into, std::size_t count) const {
  auto* cursor = static_cast<unsigned char*>(into);
  while (count > 0) {
    ssize_t got = ::pread(fd_, cursor, count, static_cast<off_t>(position));
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
    ssize_t put = ::pwrite(fd_, cursor, count, static_cast<off_t>(position));
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
    ssize_t got = ::read(fd_, into, count);
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

bool FileHandle::sync() { return fd_ >= 0 && ::fdatasync(fd_) == 0; }

bool FileHandle::truncate(std::uint64_t length) {
  return fd_ >= 0 && ::ftruncate(fd_, static_cast<off_t>(length)) == 0;
}

}  // namespace vka
