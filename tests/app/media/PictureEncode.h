// Test pictures written with libjpeg and libpng, so decoding can be checked against known pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
  std::uint8_t r, g, b;
};

using PixelSource = std::function<Rgb(int x, int y)>;

enum class JpegMode { Baseline, Progressive, Grayscale };

std::vector<std::uint8_t> EncodeJpeg(int width, int height, const PixelSource& pixel,
                                     JpegMode mode = JpegMode::Baseline);

struct PngLayout {
  int colorType;  // PNG_COLOR_TYPE_*
  int bitDepth;
  bool interlaced;
};

// Alpha, where the layout has it, is 255 - x % 256.
std::vector<std::uint8_t> EncodePng(int width, int height, const PixelSource& pixel,
                                    PngLayout layout);

// A smooth pattern that survives JPEG compression: red follows x, green follows y.
inline Rgb Gradient(int x, int y) {
  return {static_cast<std::uint8_t>(x / 4 % 256), static_cast<std::uint8_t>(y * 2 % 256), 128};
}
