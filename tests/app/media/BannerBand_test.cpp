#include "media/BannerBand.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include "MediaTestSupport.h"
#include "PictureEncode.h"

using namespace morvo;

namespace {

class MediaBanner : public ::testing::Test {
 protected:
  void Use(int kind, std::vector<std::uint8_t> data) {
    settings_.BannerKind = kind;
    settings_.BannerData = std::move(data);
  }

  // Whether Img_Banner would be visible once the window is shown.
  bool Shown(const BannerBand& band) { return band.Img_Banner()->isVisibleTo(&window_); }
  QImage Picture(const BannerBand& band) { return band.Img_Banner()->pixmap().toImage(); }

  ProgramFolder dir_;
  QWidget window_;
  PatcherSettings settings_;
};

TEST_F(MediaBanner, BandHeightFollowsTheKind) {
  const struct {
    int kind;
    int height;
  } table[] = {{0, 0}, {1, 88}, {2, 88}, {3, 88}, {4, 88}, {5, 0}, {-1, 0}, {1000, 0}};
  for (const auto& row : table) {
    settings_.BannerKind = row.kind;
    EXPECT_EQ(BannerBand(&window_, settings_, dir_.Dir()).BandHeight(), row.height)
        << "kind " << row.kind;
  }
}

TEST_F(MediaBanner, JpegAndPngPicturesAreShownFromTheTopLeftCutToTheBand) {
  const struct {
    int kind;
    int width, height;
  } table[] = {{2, 200, 60}, {3, 700, 88}, {2, 545, 300}, {4, 1000, 400}, {4, 100, 50}};
  for (const auto& row : table) {
    SCOPED_TRACE("kind " + std::to_string(row.kind) + " " + std::to_string(row.width) + "x" +
                 std::to_string(row.height));
    Use(row.kind, row.kind == 4
                      ? EncodePng(row.width, row.height, Gradient, {PngColor::Rgb, 8, false})
                      : EncodeJpeg(row.width, row.height, Gradient));
    BannerBand band(&window_, settings_, dir_.Dir());
    band.SetUp();
    EXPECT_TRUE(Shown(band));
    EXPECT_EQ(band.Img_Banner()->geometry(), QRect(0, 0, 545, 88));
    const QImage picture = Picture(band);
    ASSERT_EQ(picture.size(), QSize(std::min(row.width, 545), std::min(row.height, 88)));
    const int tolerance = row.kind == 4 ? 0 : 6;
    const QPoint corner(picture.width() - 1, picture.height() - 1);
    const Rgb want = Gradient(corner.x(), corner.y());
    const QColor got = picture.pixelColor(corner);
    EXPECT_NEAR(got.red(), want.r, tolerance);
    EXPECT_NEAR(got.green(), want.g, tolerance);
    EXPECT_FALSE(settings_.BannerData.has_value());  // released once used
  }
}

TEST_F(MediaBanner, UndecodablePictureLeavesTheBandEmptyButKeepsItsHeight) {
  for (int kind : {2, 3, 4}) {
    Use(kind, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    BannerBand band(&window_, settings_, dir_.Dir());
    band.SetUp();
    EXPECT_FALSE(Shown(band)) << "kind " << kind;
    EXPECT_EQ(band.BandHeight(), 88);
    EXPECT_FALSE(settings_.BannerData.has_value());
  }
  // A JPEG given as kind 4 is not a PNG.
  Use(4, EncodeJpeg(50, 50, Gradient));
  BannerBand band(&window_, settings_, dir_.Dir());
  band.SetUp();
  EXPECT_FALSE(Shown(band));
}

TEST_F(MediaBanner, FlashMovieLeavesNoTemporaryFileAndAnEmptyBand) {
  dir_.Write(kFlashBannerTempName, {'o', 'l', 'd'});  // left over by an earlier run
  Use(1, {'F', 'W', 'S', 9, 0, 0, 0, 0});
  BannerBand band(&window_, settings_, dir_.Dir());
  band.SetUp();
  EXPECT_FALSE(std::filesystem::exists(dir_.Path(kFlashBannerTempName)));
  EXPECT_FALSE(Shown(band));
  EXPECT_EQ(band.BandHeight(), 88);
  EXPECT_FALSE(settings_.BannerData.has_value());
}

// A link planted in the game folder under the movie's name, or under the name it is written
// to first, symbolic or hard, never leads the write to the link's target.
TEST_F(MediaBanner, FlashMovieNeverWritesThroughAPlantedLink) {
  const std::string temporary = std::string(kFlashBannerTempName) + kAtomicWriteSuffix;
  const std::pair<std::string, bool> links[] = {{kFlashBannerTempName, false},
                                                {temporary, false},
                                                {kFlashBannerTempName, true},
                                                {temporary, true}};
  for (const auto& [linkName, hard] : links) {
    SCOPED_TRACE(linkName + (hard ? " (hard link)" : " (symbolic link)"));
    ProgramFolder outside;
    outside.Write("precious", {'k', 'e', 'e', 'p'});
    if (hard) {
      std::filesystem::create_hard_link(outside.Path("precious"), dir_.Path(linkName));
    } else {
      std::filesystem::create_symlink(outside.Path("precious"), dir_.Path(linkName));
    }
    Use(1, {'F', 'W', 'S', 9, 0, 0, 0, 0});
    BannerBand band(&window_, settings_, dir_.Dir());
    band.SetUp();
    EXPECT_EQ(outside.Read("precious"), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir_.Path(kFlashBannerTempName)));
    std::filesystem::remove(dir_.Path(linkName));
  }
}

TEST_F(MediaBanner, FlashMovieInAFolderThatCannotBeWrittenGoesOnWithoutBanner) {
  Use(1, {'F', 'W', 'S'});
  BannerBand band(&window_, settings_, dir_.Dir() + "missing/");
  band.SetUp();
  EXPECT_FALSE(Shown(band));
  EXPECT_FALSE(settings_.BannerData.has_value());
}

TEST_F(MediaBanner, KindsWithoutBannerKeepTheirData) {
  for (int kind : {0, 5, -3}) {
    Use(kind, EncodeJpeg(20, 20, Gradient));
    BannerBand band(&window_, settings_, dir_.Dir());
    band.SetUp();
    EXPECT_FALSE(Shown(band));
    EXPECT_TRUE(settings_.BannerData.has_value()) << "kind " << kind;
  }
  // Kind 2 with no data at all (settings not read from a file) is an empty band, not a crash.
  settings_.BannerKind = 2;
  settings_.BannerData.reset();
  BannerBand band(&window_, settings_, dir_.Dir());
  band.SetUp();
  EXPECT_FALSE(Shown(band));
}

}  // namespace
