// The millisecond tick count of the speed sample: a monotonic clock cut to 32 bits, so that
// its arithmetic wraps as the sample expects.
#pragma once

#include <cstdint>
#include <functional>

namespace morvo {

using TickSource = std::function<std::uint32_t()>;

std::uint32_t MonotonicTickCount();

}  // namespace morvo
