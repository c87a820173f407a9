// Colours of the configuration: 0x00BBGGRR as the platform keeps them, or 0x80000000 + n for the
// platform's system colour n.
#pragma once

#include <windows.h>

#include <cstdint>

COLORREF ColourOfSetting(std::int32_t value);
