// The header peek that refuses oversized pictures before a decoder expands them.
#include <gtest/gtest.h>

#include <vector>

#include "PictureDecode.h"
#include "PictureEncode.h"
#include "PictureSides.h"

namespace {

std::vector<std::uint8_t> BigEndian16(unsigned value) {
  return {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

// A JPEG start: SOI, an APP0 segment, fill bytes, then a baseline frame header of these sides.
std::vector<std::uint8_t> JpegStart(unsigned width, unsigned height) {
  std::vector<std::uint8_t> bytes = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x06, 'J',  'F', 'I',
                                     'F',  0xFF, 0xFF, 0xFF, 0xC0, 0x00, 0x11, 8};
  for (unsigned side : {height, width}) {
    const auto two = BigEndian16(side);
    bytes.insert(bytes.end(), two.begin(), two.end());
  }
  bytes.resize(bytes.size() + 10);
  return bytes;
}

// A PNG start: signature and the IHDR chunk with these sides.
std::vector<std::uint8_t> PngStart(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                     0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  for (std::uint32_t side : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8)
      bytes.push_back(static_cast<std::uint8_t>(side >> shift));
  }
  bytes.resize(bytes.size() + 9);
  return bytes;
}

TEST(PictureSides, HeadersAnnouncingALongSideAreTooLarge) {
  EXPECT_FALSE(JpegHeaderTooLarge(JpegStart(kMaxPictureSide, kMaxPictureSide)));
  EXPECT_TRUE(JpegHeaderTooLarge(JpegStart(kMaxPictureSide + 1, 8)));
  EXPECT_TRUE(JpegHeaderTooLarge(JpegStart(8, 65535)));
  EXPECT_FALSE(PngHeaderTooLarge(PngStart(kMaxPictureSide, kMaxPictureSide)));
  EXPECT_TRUE(PngHeaderTooLarge(PngStart(kMaxPictureSide + 1, 1)));
  EXPECT_TRUE(PngHeaderTooLarge(PngStart(1, 0x80000000u)));
  // Real files of the encoder, found past their other segments.
  EXPECT_TRUE(JpegHeaderTooLarge(EncodeJpeg(kMaxPictureSide + 1, 8, Gradient)));
  EXPECT_FALSE(JpegHeaderTooLarge(EncodeJpeg(545, 88, Gradient)));
}

TEST(PictureSides, ForeignOrShortDataIsLeftToTheDecoder) {
  const std::vector<std::uint8_t> png = PngStart(100000, 100000);
  const std::vector<std::uint8_t> jpeg = JpegStart(100000 % 65536, 50000);
  // The other kind's header is not read as this kind's.
  EXPECT_FALSE(JpegHeaderTooLarge(png));
  EXPECT_FALSE(PngHeaderTooLarge(jpeg));
  // Cut before the sides, or a segment length running past the end.
  EXPECT_FALSE(JpegHeaderTooLarge(std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 18)));
  EXPECT_FALSE(PngHeaderTooLarge(std::vector<std::uint8_t>(png.begin(), png.begin() + 20)));
  EXPECT_FALSE(JpegHeaderTooLarge(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF}));
  EXPECT_FALSE(JpegHeaderTooLarge({}));
  EXPECT_FALSE(PngHeaderTooLarge({}));
}

}  // namespace
