// Windows BMP files made in memory for the skinned windows' tests: uncompressed, 24 bits per
// pixel, bottom row first, as a paint program saves a skin.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "text/LittleEndian.h"

namespace morvo {

// colourAt(x, y) gives 0xRRGGBB for the pixel at x, y (top row 0).
inline std::vector<std::uint8_t> MakeBmp24(int width, int height,
                                           const std::function<std::uint32_t(int, int)>& colourAt) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> bmp = {'B', 'M'};
  AppendInt32LE(bmp, 54 + stride * height);
  AppendInt32LE(bmp, 0);
  AppendInt32LE(bmp, 54);
  for (std::int32_t field : {40, width, height}) AppendInt32LE(bmp, field);
  AppendInt32LE(bmp, 1 | 24 << 16);  // planes, bits per pixel
  for (int i = 0; i < 6; ++i) AppendInt32LE(bmp, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colour = colourAt(x, y);
      bmp.push_back(colour & 0xFF);
      bmp.push_back(colour >> 8 & 0xFF);
      bmp.push_back(colour >> 16 & 0xFF);
    }
    bmp.resize(bmp.size() + (stride - width * 3));
  }
  return bmp;
}

}  // namespace morvo
