// What only libjpeg does: it finishes a picture whose end is missing.
#include <gtest/gtest.h>

#include "PictureDecode.h"
#include "PictureEncode.h"

namespace {

TEST(PictureDecode, TruncatedJpegIsFinishedByTheLibrary) {
  auto jpeg = EncodeJpeg(300, 200, Gradient);
  jpeg.resize(jpeg.size() * 2 / 3);
  const auto picture = DecodeJpegTopLeft(jpeg, 545, 88);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->width, 300);
  EXPECT_EQ(picture->height, 88);
}

}  // namespace
