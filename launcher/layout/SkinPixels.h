// Pictures of the skinned window as plain pixels, cut from the skin without scaling: what the
// Windows window turns into its bitmaps, free of any window system so it can be tested alone.
#pragma once

#include <cstdint>
#include <vector>

#include "config/PatcherSettings.h"

namespace morvo {

// Pixels 0xAARRGGBB, alpha premultiplied, top row first.
struct PixelImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;

  bool Empty() const { return Width < 1 || Height < 1; }
  std::uint32_t At(int x, int y) const {
    return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + x];
  }
  std::uint32_t& At(int x, int y) {
    return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + x];
  }
};

inline constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;
// The skin's fixed transparent colour (RGB).
inline constexpr std::uint32_t kTransparentKey = 0xFF00FFu;

// An opaque white picture of width x height (empty when either is below 1).
PixelImage BlankImage(int width, int height);

// Copies the skin rectangle source (X, Y, W, H) to (0, 0, W, H) of picture; what lies outside
// the skin or the picture is left as it is.
void CopySkinRect(const PixelImage& skin, const SettingsRect& source, PixelImage& picture);

// Makes every pixel of the transparent key colour fully transparent.
void KeyOutMagenta(PixelImage& picture);

}  // namespace morvo
