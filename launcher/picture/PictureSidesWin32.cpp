#include <algorithm>
#include <cstddef>

#include "PictureDecode.h"
#include "PictureSides.h"

namespace {

unsigned BigEndian16(const std::uint8_t* bytes) { return bytes[0] << 8 | bytes[1]; }

std::uint32_t BigEndian32(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// Start of frame markers: 0xC0 to 0xCF except DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameHeader(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

}  // namespace

bool JpegHeaderTooLarge(std::span<const std::uint8_t> data) {
  if (data.size() < 2 || data[0] != 0xFF || data[1] != 0xD8) return false;
  // Segments follow the start of image: 0xFF, a marker, a big-endian length that counts
  // itself; the frame header holds precision, height and width.
  std::size_t position = 2;
  while (position + 4 <= data.size() && data[position] == 0xFF) {
    const std::uint8_t marker = data[position + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++position;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return false;  // scan or end before any frame header
    if (IsFrameHeader(marker)) {
      if (position + 9 > data.size()) return false;
      const unsigned height = BigEndian16(&data[position + 5]);
      const unsigned width = BigEndian16(&data[position + 7]);
      return width > kMaxPictureSide || height > kMaxPictureSide;
    }
    position += 2 + BigEndian16(&data[position + 2]);
  }
  return false;
}

bool PngHeaderTooLarge(std::span<const std::uint8_t> data) {
  // Signature (8 bytes), then the IHDR chunk: length, type, width, height.
  constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  constexpr std::size_t kWidthAt = 16;
  if (data.size() < kWidthAt + 8 || !std::equal(kSignature, kSignature + 8, data.begin())) {
    return false;
  }
  return BigEndian32(&data[kWidthAt]) > kMaxPictureSide ||
         BigEndian32(&data[kWidthAt + 4]) > kMaxPictureSide;
}
