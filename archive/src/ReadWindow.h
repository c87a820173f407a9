// Short reads of one file served from one large read of the part of the file around them.
// Entries whose bytes lie near each other, in either order, then cost one read per window
// instead of one each; where they lie far apart, the window shrinks so that little is read
// for nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ArchiveEntry.h"
#include "FileHandle.h"

namespace vka {

// The most a window holds, and the least it reads when entries lie far apart.
inline constexpr std::size_t kReadWindowMaximum = 4u << 20;
inline constexpr std::size_t kReadWindowMinimum = 64u << 10;

class ReadWindow {
 public:
  // Copies `count` bytes of `source` at `position` into `into`. False when the file does not
  // hold them all or cannot be read. Ranges larger than the window are read directly.
  bool read(const FileHandle& source, std::uint64_t position, std::uint8_t* into,
            std::size_t count);
  // Forgets what was read: the file may change or close, and another may take its place.
  void forget();

 private:
  bool holds(const FileHandle& source, std::uint64_t position, std::size_t count) const;
  bool load(const FileHandle& source, std::uint64_t position, std::size_t count);

  LargeVector<std::uint8_t> bytes_;
  const FileHandle* source_ = nullptr;
  std::uint64_t sourceSize_ = 0;
  // The window holds the source's bytes [start_, start_ + length_).
  std::uint64_t start_ = 0;
  std::size_t length_ = 0;
  // How much the next load reads, and how much of the current one has been used.
  std::size_t span_ = kReadWindowMaximum;
  std::size_t served_ = 0;
};

}  // namespace vka
