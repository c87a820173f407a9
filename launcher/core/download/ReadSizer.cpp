#include "download/ReadSizer.h"

#include <algorithm>

namespace morvo {

namespace {

// A read that fills its buffer within this time may double: the next one then still completes
// within about half a second at the same rate.
constexpr std::chrono::milliseconds kQuickRead{250};
// A read slower than this halves the next one, so that progress keeps showing on a slow link.
constexpr std::chrono::seconds kSlowRead{1};

}  // namespace

void ReadSizer::Completed(std::uint32_t read, std::chrono::steady_clock::duration took) {
  if (took > kSlowRead) {
    next_ = std::max(next_ / 2, kLeastBytes);
  } else if (read >= next_ && took < kQuickRead) {
    next_ = std::min(next_ * 2, kMostBytes);
  }
}

}  // namespace morvo
