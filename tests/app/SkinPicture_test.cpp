#include "SkinPicture.h"

#include <gtest/gtest.h>

using namespace morvo;

TEST(SkinPicture, KeepsEveryPixelItsColourAndTransparency) {
  // Odd width: Qt pads rows to 4 bytes only, but a wrong stride would still shift row 1.
  PixelImage pixels = BlankImage(3, 2);
  pixels.At(0, 0) = 0xFF102030u;
  pixels.At(2, 0) = 0u;  // keyed out
  pixels.At(1, 1) = 0xFFFF0000u;
  const QImage image = ToQImage(pixels);
  ASSERT_EQ(image.size(), QSize(3, 2));
  EXPECT_EQ(image.pixelColor(0, 0), QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(2, 0).alpha(), 0);
  EXPECT_EQ(image.pixelColor(0, 1), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::red));
}

TEST(SkinPicture, EmptyPixelsGiveANullImage) {
  EXPECT_TRUE(ToQImage(BlankImage(0, 4)).isNull());
  EXPECT_TRUE(ToQImage(PixelImage{}).isNull());
}
