// Test pictures written by an encoder of the platform (libjpeg and libpng on Linux, WIC on
// Windows), so decoding can be checked against known pixels.
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

enum class PngColor { Gray, GrayAlpha, Rgb, RgbAlpha, Palette };

struct PngLayout {
  PngColor color;
  int bitDepth;  // of one sample; a palette is 8-bit only
  bool interlaced;

  bool HasAlpha() const { return color == PngColor::GrayAlpha || color == PngColor::RgbAlpha; }
  bool IsGray() const { return color == PngColor::Gray || color == PngColor::GrayAlpha; }
};

// Whether this platform's encoder can write the picture; the tests skip the ones it cannot.
bool CanEncodeJpeg(JpegMode mode);
bool CanEncodePng(PngLayout layout);

// Alpha, where the layout has it, is 255 - x % 256. A palette picture's index i is the colour
// (i, 255 - i, 7), and a pixel's index is its red.
std::vector<std::uint8_t> EncodePng(int width, int height, const PixelSource& pixel,
                                    PngLayout layout);

// A smooth pattern that survives JPEG compression: red follows x, green follows y.
inline Rgb Gradient(int x, int y) {
  return {static_cast<std::uint8_t>(x / 4 % 256), static_cast<std::uint8_t>(y * 2 % 256), 128};
}
