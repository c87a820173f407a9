// An open file descriptor that closes itself, with whole-range positioned reads and writes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vka {

class FileHandle {
 public:
  FileHandle() = default;
  ~FileHandle() { close(); }
  FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // Mode strings as for the C library's fopen ("r", "r+", "w", "w+", "a+"); always binary.
  // False when the mode is unknown or the file cannot be opened.
  bool open(const char* path, const char* mode);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  int descriptor() const { return fd_; }

  // Current length of the file, or -1.
  std::int64_t size() const;
  // True only when all `count` bytes were read (a short file gives false).
  bool readAt(std::uint64_t position, void* into, std::size_t count) const;
  bool writeAt(std::uint64_t position, const void* from, std::size_t count);
  // Up to `count` bytes from the current position; 0 at the end, -1 on error.
  std::int64_t readSome(void* into, std::size_t count);
  bool sync();
  bool truncate(std::uint64_t length);

 private:
  int fd_ = -1;
};

}  // namespace vka
