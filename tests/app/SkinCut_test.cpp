#include "SkinCut.h"

#include <gtest/gtest.h>

#include <QPainter>

using namespace morvo;

namespace {

// A 4 x 3 skin whose pixel (x, y) has red x * 50 and green y * 50.
QImage GradientSkin() {
  QImage skin(4, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) skin.setPixelColor(x, y, QColor(x * 50, y * 50, 0));
  }
  return skin;
}

}  // namespace

TEST(SkinCut, CopiesPixelForPixelAndLeavesTheRestBlank) {
  struct Case {
    const char* what;
    SettingsRect source;
    int pictureWidth, pictureHeight;
    QPoint probe;
    QColor expected;
  };
  const QColor white(Qt::white);
  const Case cases[] = {
      {"inside", {1, 1, 2, 2}, 2, 2, {0, 0}, QColor(50, 50, 0)},
      {"inside, far corner", {1, 1, 2, 2}, 2, 2, {1, 1}, QColor(100, 100, 0)},
      {"smaller than the picture", {0, 0, 1, 1}, 3, 3, {1, 0}, white},
      {"larger than the picture is cut", {2, 0, 2, 3}, 1, 1, {0, 0}, QColor(100, 0, 0)},
      {"past the skin's right edge", {3, 0, 3, 1}, 3, 1, {1, 0}, white},
      {"left of the skin", {-1, 0, 3, 1}, 3, 1, {0, 0}, white},
      {"left of the skin, then inside", {-1, 0, 3, 1}, 3, 1, {1, 0}, QColor(0, 0, 0)},
      {"far outside", {2000000000, 2000000000, 2000000000, 5}, 2, 2, {0, 0}, white},
  };
  const QImage skin = GradientSkin();
  for (const Case& c : cases) {
    QImage picture = BlankPicture(c.pictureWidth, c.pictureHeight);
    CopySkinRect(skin, c.source, picture);
    EXPECT_EQ(picture.pixelColor(c.probe), c.expected) << c.what;
  }
}

TEST(SkinCut, EmptySourcesAndPicturesAreHarmless) {
  EXPECT_TRUE(BlankPicture(0, 5).isNull());
  EXPECT_TRUE(BlankPicture(5, -1).isNull());
  QImage none;
  CopySkinRect(GradientSkin(), {0, 0, 2, 2}, none);
  EXPECT_TRUE(none.isNull());
  QImage picture = BlankPicture(2, 2);
  CopySkinRect(GradientSkin(), {0, 0, 0, 2}, picture);
  EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::white));
}

TEST(SkinCut, OnlyExactMagentaBecomesTransparent) {
  QImage picture(3, 1, QImage::Format_RGB32);
  picture.setPixelColor(0, 0, QColor(255, 0, 255));
  picture.setPixelColor(1, 0, QColor(254, 0, 255));
  picture.setPixelColor(2, 0, QColor(255, 1, 255));
  const QImage keyed = KeyOutMagenta(picture);
  EXPECT_EQ(keyed.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(keyed.pixelColor(1, 0), QColor(254, 0, 255));
  EXPECT_EQ(keyed.pixelColor(2, 0), QColor(255, 1, 255));
}

TEST(SkinCut, DecodesBmpOnly) {
  const std::vector<std::uint8_t> notAPicture = {'B', 'M', 0, 1, 2, 3};
  EXPECT_FALSE(DecodeSkin(notAPicture));
  EXPECT_FALSE(DecodeSkin({}));
}
