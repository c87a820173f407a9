#include "SkinPicture.h"

#include <algorithm>

QImage ToQImage(const morvo::PixelImage& pixels) {
  if (pixels.Empty()) return QImage();
  // Both hold premultiplied 0xAARRGGBB words, one row after the other; Qt may pad its rows.
  QImage image(pixels.Width, pixels.Height, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < pixels.Height; ++y) {
    const auto row = pixels.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * pixels.Width;
    std::copy_n(row, pixels.Width, reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
  }
  return image;
}
