// Bytes appended at the end of an archive's data: staged in one bounded buffer, or copied
// from another file inside the kernel, in the order they were appended. What is written is
// handed to the disk as it goes, so that the flush of a commit finds little left to write.
#pragma once

#include <cstdint>
#include <vector>

#include "ArchiveFormat.h"
#include "FileHandle.h"
#include "ReadWindow.h"

namespace vka {

class AppendWriter {
 public:
  explicit AppendWriter(FileHandle& file) : file_(file) {}

  // Where the next byte goes; everything before it is written or pending.
  std::uint64_t end() const { return end_; }
  void moveTo(std::uint64_t position);
  bool failed() const { return failed_; }

  // Room in the buffer for the caller to fill; then `commitSpace` the bytes it put there.
  // Null once a write has failed.
  std::uint8_t* space(std::size_t& room);
  void commitSpace(std::size_t length);
  bool append(const std::uint8_t* data, std::size_t length);
  // Appends `length` bytes of `source` from `position`. Copies of adjacent ranges join, so
  // a run of entries that lie back to back moves in one kernel copy; short runs go through
  // the buffer, which costs less than a kernel copy each, read from the source in large
  // windows, so that entries lying near each other in any order cost few reads.
  bool copyFrom(const FileHandle& source, std::uint64_t position, std::uint64_t length);
  // Writes out everything pending, and forgets what was read from the sources.
  bool flush();

 private:
  bool fits(std::uint64_t length);
  bool flushBuffer();
  bool settleCopy();
  bool kernelCopy(std::uint64_t from, std::uint64_t to, std::uint64_t length);
  bool copyThroughBuffer(std::uint64_t from, std::uint64_t to, std::uint64_t length);
  // Starts writing to the disk what lies before `upTo` once enough has gathered.
  void wrote(std::uint64_t upTo);

  FileHandle& file_;
  std::uint64_t end_ = kHeaderSize;
  bool failed_ = false;
  // Appended bytes not yet written: first those staged in the buffer, then a pending copy
  // of copyLength_ bytes from copySource_, which ends at end_.
  std::vector<std::uint8_t> buffer_;
  std::size_t staged_ = 0;
  const FileHandle* copySource_ = nullptr;
  std::uint64_t copyFrom_ = 0;
  std::uint64_t copyLength_ = 0;
  ReadWindow window_;
  // Bytes before this position are on their way to the disk, or were there already.
  std::uint64_t sentToDisk_ = 0;
};

}  // namespace vka
