#include "SkinPixels.h"

#include <gtest/gtest.h>

#include <climits>

#include "BmpDecode.h"
#include "SkinBmp.h"
#include "text/LittleEndian.h"

using namespace morvo;

namespace {

constexpr std::uint32_t Opaque(std::uint32_t rgb) { return 0xFF000000u | rgb; }

// 3 x 2: red, green, blue over white, black, magenta.
std::vector<std::uint8_t> SmallBmp() {
  const std::uint32_t colours[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF},
                                       {0xFFFFFF, 0x000000, 0xFF00FF}};
  return MakeBmp24(3, 2, [&](int x, int y) { return colours[y][x]; });
}

void PutInt32(std::vector<std::uint8_t>& bmp, std::size_t at, std::int32_t value) {
  std::vector<std::uint8_t> bytes;
  AppendInt32LE(bytes, value);
  std::copy(bytes.begin(), bytes.end(), bmp.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

TEST(BmpDecode, ReadsRowsInEitherOrder) {
  std::vector<std::uint8_t> bmp = SmallBmp();
  const auto image = DecodeBmp(bmp);
  ASSERT_TRUE(image);
  ASSERT_EQ(image->Width, 3);
  ASSERT_EQ(image->Height, 2);
  EXPECT_EQ(image->At(0, 0), Opaque(0xFF0000));
  EXPECT_EQ(image->At(2, 0), Opaque(0x0000FF));
  EXPECT_EQ(image->At(2, 1), Opaque(0xFF00FF));

  // The same rows marked top-down read upside down.
  PutInt32(bmp, 22, -2);
  const auto flipped = DecodeBmp(bmp);
  ASSERT_TRUE(flipped);
  EXPECT_EQ(flipped->At(0, 0), Opaque(0xFFFFFF));
  EXPECT_EQ(flipped->At(0, 1), Opaque(0xFF0000));
}

TEST(BmpDecode, PalettesAndColourMasks) {
  // 8 bits, two palette entries, 2 x 1: index 1 then index 0 (a third index would be black).
  std::vector<std::uint8_t> indexed = {'B', 'M'};
  AppendInt32LE(indexed, 0);
  AppendInt32LE(indexed, 0);
  AppendInt32LE(indexed, 54 + 8);
  for (std::int32_t field : {40, 2, 1, 1 | 8 << 16, 0, 0, 0, 0, 2, 0})
    AppendInt32LE(indexed, field);
  for (std::uint8_t byte : {0x10, 0x20, 0x30, 0, 0xFF, 0xEE, 0xDD, 0}) indexed.push_back(byte);
  for (std::uint8_t byte : {1, 0, 0, 0}) indexed.push_back(byte);
  const auto palette = DecodeBmp(indexed);
  ASSERT_TRUE(palette);
  EXPECT_EQ(palette->At(0, 0), Opaque(0xDDEEFF));
  EXPECT_EQ(palette->At(1, 0), Opaque(0x302010));

  // 16 bits with 5-6-5 masks, 1 x 1, pure green.
  std::vector<std::uint8_t> masked = {'B', 'M'};
  AppendInt32LE(masked, 0);
  AppendInt32LE(masked, 0);
  AppendInt32LE(masked, 54 + 12);
  for (std::int32_t field : {40, 1, 1, 1 | 16 << 16, 3, 0, 0, 0, 0, 0})
    AppendInt32LE(masked, field);
  for (std::int32_t mask : {0xF800, 0x07E0, 0x001F}) AppendInt32LE(masked, mask);
  AppendInt32LE(masked, 0x07E0);
  const auto green = DecodeBmp(masked);
  ASSERT_TRUE(green);
  EXPECT_EQ(green->At(0, 0), Opaque(0x00FF00));
}

TEST(BmpDecode, RefusesWhatIsNoPictureOrDoesNotFit) {
  const std::vector<std::uint8_t> good = SmallBmp();
  EXPECT_FALSE(DecodeBmp({}));
  EXPECT_FALSE(DecodeBmp(std::vector<std::uint8_t>(good.begin(), good.end() - 1)));  // short row
  EXPECT_FALSE(DecodeBmp(std::vector<std::uint8_t>(good.begin(), good.begin() + 20)));
  const auto changed = [&](std::size_t at, std::int32_t value) {
    std::vector<std::uint8_t> bmp = good;
    PutInt32(bmp, at, value);
    return DecodeBmp(bmp).has_value();
  };
  EXPECT_FALSE(changed(0, 0x4D42 ^ 0x0101));  // no "BM"
  EXPECT_FALSE(changed(10, INT32_MAX));       // pixels past the end
  EXPECT_FALSE(changed(18, 0));               // no width
  EXPECT_FALSE(changed(18, 100000));          // wider than any skin
  EXPECT_FALSE(changed(22, INT32_MIN));       // a height that cannot be negated
  EXPECT_FALSE(changed(28, 1 | 7 << 16));     // 7 bits per pixel
  EXPECT_FALSE(changed(30, 1));               // run-length compressed
  EXPECT_FALSE(changed(14, 20));              // unknown header size
}

TEST(SkinPixels, CutsWithoutScalingAndKeysOutMagenta) {
  const auto skin = DecodeBmp(SmallBmp());
  ASSERT_TRUE(skin);
  // A rectangle larger than the picture is cut at its edges; one smaller leaves white.
  PixelImage picture = BlankImage(2, 3);
  CopySkinRect(*skin, {1, 0, 5, 5}, picture);
  EXPECT_EQ(picture.At(0, 0), Opaque(0x00FF00));
  EXPECT_EQ(picture.At(1, 1), Opaque(0xFF00FF));
  EXPECT_EQ(picture.At(0, 2), kOpaqueWhite);  // below the skin's last row
  // A rectangle starting left of the skin copies only what the skin has, in place.
  PixelImage shifted = BlankImage(3, 1);
  CopySkinRect(*skin, {-1, 0, 3, 1}, shifted);
  EXPECT_EQ(shifted.At(0, 0), kOpaqueWhite);
  EXPECT_EQ(shifted.At(1, 0), Opaque(0xFF0000));
  // Rectangles at the limits of 32 bits copy nothing and do not overflow.
  PixelImage untouched = BlankImage(2, 2);
  CopySkinRect(*skin, {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, untouched);
  CopySkinRect(*skin, {INT32_MIN, INT32_MIN, INT32_MAX, 1}, untouched);
  CopySkinRect(*skin, {0, 0, 0, 5}, untouched);
  EXPECT_EQ(untouched.Pixels, BlankImage(2, 2).Pixels);

  KeyOutMagenta(picture);
  EXPECT_EQ(picture.At(1, 1), 0u);
  EXPECT_EQ(picture.At(0, 0), Opaque(0x00FF00));
  EXPECT_TRUE(BlankImage(0, 5).Empty());
}
