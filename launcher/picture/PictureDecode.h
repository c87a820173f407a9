// JPEG and PNG pictures decoded from memory, keeping only the top-left corner that will be shown:
// libjpeg and libpng on Linux, the platform's imaging component on Windows. Free of any window
// toolkit so both window programs share it and it can be tested and fuzzed on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Pictures with a longer side are refused rather than decoded: no banner needs them and their
// buffers would be unbounded.
inline constexpr int kMaxPictureSide = 16384;

struct DecodedPicture {
  int width = 0;  // of the kept corner
  int height = 0;
  int channels = 0;                  // 3: RGB, 4: RGBA (not premultiplied)
  std::vector<std::uint8_t> pixels;  // top row first, width * channels bytes per row

  const std::uint8_t* Pixel(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * channels;
  }
};

// Both return the picture cut to at most maxWidth x maxHeight from its top-left corner, never
// scaled; nullopt when the data is not a picture of that kind, is broken beyond use, or is
// larger than kMaxPictureSide on a side. A truncated picture that the decoder can still finish
// (missing rows filled in, as libjpeg does) is returned.
std::optional<DecodedPicture> DecodeJpegTopLeft(std::span<const std::uint8_t> data, int maxWidth,
                                                int maxHeight);
std::optional<DecodedPicture> DecodePngTopLeft(std::span<const std::uint8_t> data, int maxWidth,
                                               int maxHeight);
