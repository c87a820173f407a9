// An open file that closes itself, with whole-range positioned reads and writes.
// FileHandlePosix.cpp and FileHandleWin32.cpp implement it; the build picks one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vka {

class FileHandle {
 public:
  FileHandle() = default;
  ~FileHandle() { close(); }
  FileHandle(FileHandle&& other) noexcept : native_(other.native_) { other.native_ = kNone; }
  FileHandle& operator=(FileHandle&& other) noexcept {
    if (this != &other) {
      close();
      native_ = other.native_;
      other.native_ = kNone;
    }
    return *this;
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // Mode strings as for the C library's fopen ("r", "r+", "w", "w+", "a+"); always binary.
  // The path is handed to the file system as the platform's 8-bit path (ANSI code page on
  // Windows). False when the mode is unknown or the file cannot be opened.
  bool open(const char* path, const char* mode);
  void close();
  bool isOpen() const { return native_ != kNone; }

  // Current length of the file, or -1.
  std::int64_t size() const;
  // True only when all `count` bytes were read (a short file gives false).
  bool readAt(std::uint64_t position, void* into, std::size_t count) const;
  bool writeAt(std::uint64_t position, const void* from, std::size_t count);
  // Up to `count` bytes from the current position; 0 at the end, -1 on error.
  std::int64_t readSome(void* into, std::size_t count);
  bool sync();
  // Starts writing the range's pending bytes to the disk without waiting for them, so that a
  // later sync has less to wait for. Only a hint: where the platform has none, it does nothing.
  void startWriteBack(std::uint64_t position, std::uint64_t length);
  // Lets the system drop the file's cached bytes now: they will not be read again. Only a
  // hint; where the platform has none, it does nothing.
  void releaseCache() const;
  bool truncate(std::uint64_t length);

  // Copies up to `length` bytes of `source` at `from` to this file at `to` inside the
  // kernel, without passing through this process: the count copied, 0 when the source ends
  // there, -1 when the kernel cannot do it here (the caller then copies through memory).
  std::int64_t copyRangeFrom(const FileHandle& source, std::uint64_t from, std::uint64_t to,
                             std::uint64_t length);
  // Gives this file the access rights of `model`, where the platform keeps them per file.
  void copyAccessFrom(const FileHandle& model);

 private:
  // A POSIX descriptor, or a Windows HANDLE (INVALID_HANDLE_VALUE is -1 as well).
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t native_ = kNone;
};

}  // namespace vka
