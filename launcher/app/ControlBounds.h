// Rectangles of the settings come from a file and may hold any 32-bit value; the window places
// its controls only within what a window system can address.
#pragma once

#include <QRect>

#include "config/PatcherSettings.h"

// Coordinates clamped into -32768 .. 32767, sizes into 0 .. 32767.
QRect ControlBounds(const morvo::SettingsRect& rect);

// The size of the skinned area, each side clamped into 0 .. 8192 (no screen is larger, and the
// window's pixels are allocated at this size).
QSize SkinnedAreaSize(const morvo::SettingsSize& size);
