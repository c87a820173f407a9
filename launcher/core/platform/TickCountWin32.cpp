#include <windows.h>

#include "platform/TickCount.h"

std::uint32_t MonotonicTickCount() { return ::GetTickCount(); }
