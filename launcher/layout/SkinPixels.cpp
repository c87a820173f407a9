#include "SkinPixels.h"

#include <algorithm>

namespace morvo {

PixelImage BlankImage(int width, int height) {
  if (width < 1 || height < 1) return {};
  return PixelImage{
      width, height,
      std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, kOpaqueWhite)};
}

void CopySkinRect(const PixelImage& skin, const SettingsRect& source, PixelImage& picture) {
  if (picture.Empty() || source.Width < 1 || source.Height < 1) return;
  // Clip in 64 bits: rectangles come from a file and may hold any 32-bit value.
  const std::int64_t left = std::max<std::int64_t>(source.X, 0);
  const std::int64_t top = std::max<std::int64_t>(source.Y, 0);
  const std::int64_t right = std::min<std::int64_t>(
      {std::int64_t{source.X} + source.Width, skin.Width, std::int64_t{source.X} + picture.Width});
  const std::int64_t bottom =
      std::min<std::int64_t>({std::int64_t{source.Y} + source.Height, skin.Height,
                              std::int64_t{source.Y} + picture.Height});
  for (std::int64_t y = top; y < bottom; ++y) {
    for (std::int64_t x = left; x < right; ++x) {
      picture.At(static_cast<int>(x - source.X), static_cast<int>(y - source.Y)) =
          skin.At(static_cast<int>(x), static_cast<int>(y));
    }
  }
}

void KeyOutMagenta(PixelImage& picture) {
  for (std::uint32_t& pixel : picture.Pixels) {
    if ((pixel & 0xFFFFFFu) == kTransparentKey) pixel = 0;
  }
}

}  // namespace morvo
