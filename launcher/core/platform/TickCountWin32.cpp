#include <windows.h>

#include "platform/TickCount.h"

namespace morvo {

std::uint32_t MonotonicTickCount() { return ::GetTickCount(); }

}  // namespace morvo
