// Rectangles of the settings come from a file and may hold any 32-bit value; both window
// programs place their controls only within what a window system can address.
#pragma once

#include "config/PatcherSettings.h"

namespace morvo {

struct LayoutRect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;

  bool operator==(const LayoutRect&) const = default;
};

struct LayoutSize {
  int Width = 0;
  int Height = 0;

  bool operator==(const LayoutSize&) const = default;
};

// Where a button picture goes when its skin rectangle is missing: out of sight to the left.
inline constexpr int kOutOfSightLeft = -500;

// Coordinates clamped into -32768 .. 32767, sizes into 0 .. 32767.
LayoutRect ControlBounds(const SettingsRect& rect);

// The size of the skinned area, each side clamped into 0 .. 8192 (no screen is larger, and the
// window's pixels are allocated at this size).
LayoutSize SkinnedAreaSize(const SettingsSize& size);

// A skin rectangle with a width or height below 1 cuts no picture.
inline bool IsMissingSkinRect(const SettingsRect& rect) {
  return rect.Width < 1 || rect.Height < 1;
}

}  // namespace morvo
