// How many bytes to ask for in the next read of a body. Some HTTP clients complete a read only
// once its whole buffer is filled: a big read is cheap on a fast link, but on a slow one it
// would show no progress for so long that the transfer looks stalled. The size starts modest,
// doubles while full reads complete quickly and halves when one is slow.
#pragma once

#include <chrono>
#include <cstdint>

namespace morvo {

class ReadSizer {
 public:
  static constexpr std::uint32_t kFirstBytes = 64 * 1024;
  static constexpr std::uint32_t kLeastBytes = 8 * 1024;
  static constexpr std::uint32_t kMostBytes = 1024 * 1024;

  std::uint32_t Next() const { return next_; }
  // A read of Next() bytes returned read bytes after took.
  void Completed(std::uint32_t read, std::chrono::steady_clock::duration took);

 private:
  std::uint32_t next_ = kFirstBytes;
};

}  // namespace morvo
