#include "PictureDecode.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "PictureEncode.h"

namespace {

constexpr int kBandW = 545;
constexpr int kBandH = 88;

struct Size {
  int width, height;
};

// Smaller than the band, exactly the band, wider, taller, both.
const Size kSizes[] = {{100, 50}, {545, 88}, {800, 88}, {300, 200}, {1000, 400}};

std::string Describe(Size size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

void ExpectTopLeftCorner(const DecodedPicture& picture, Size source,
                         const std::function<Rgb(int, int)>& expected, int tolerance) {
  ASSERT_EQ(picture.width, std::min(source.width, kBandW));
  ASSERT_EQ(picture.height, std::min(source.height, kBandH));
  ASSERT_EQ(picture.pixels.size(),
            static_cast<std::size_t>(picture.width) * picture.height * picture.channels);
  // Corners and the middle of the kept area: a scaled picture would differ at the far corner.
  const int xs[] = {0, picture.width / 2, picture.width - 1};
  const int ys[] = {0, picture.height / 2, picture.height - 1};
  for (int y : ys) {
    for (int x : xs) {
      const Rgb want = expected(x, y);
      const std::uint8_t* got = picture.Pixel(x, y);
      EXPECT_NEAR(got[0], want.r, tolerance) << "red at " << x << "," << y;
      EXPECT_NEAR(got[1], want.g, tolerance) << "green at " << x << "," << y;
      EXPECT_NEAR(got[2], want.b, tolerance) << "blue at " << x << "," << y;
    }
  }
}

TEST(PictureDecode, JpegIsCutToTheBandNeverScaled) {
  const struct {
    JpegMode mode;
    const char* name;
  } modes[] = {{JpegMode::Baseline, "baseline"},
               {JpegMode::Progressive, "progressive"},
               {JpegMode::Grayscale, "grayscale"}};
  for (const auto& mode : modes) {
    if (!CanEncodeJpeg(mode.mode)) continue;
    for (Size size : kSizes) {
      SCOPED_TRACE(std::string(mode.name) + " " + Describe(size));
      const auto bytes = EncodeJpeg(size.width, size.height, Gradient, mode.mode);
      ASSERT_FALSE(bytes.empty()) << "the encoder wrote nothing";
      const auto picture = DecodeJpegTopLeft(bytes, kBandW, kBandH);
      ASSERT_TRUE(picture.has_value());
      EXPECT_EQ(picture->channels, 3);
      const bool gray = mode.mode == JpegMode::Grayscale;
      ExpectTopLeftCorner(
          *picture, size,
          [gray](int x, int y) {
            const Rgb c = Gradient(x, y);
            return gray ? Rgb{c.g, c.g, c.g} : c;
          },
          6);
    }
  }
}

// What a pixel of Gradient becomes once written in a layout and expanded back to 8-bit RGBA.
Rgb ExpectedPng(int x, int y, PngLayout layout) {
  const Rgb c = Gradient(x, y);
  if (layout.color == PngColor::Palette) {
    return {c.r, static_cast<std::uint8_t>(255 - c.r), 7};
  }
  if (layout.IsGray()) {
    std::uint8_t g = c.g;
    if (layout.bitDepth < 8) {
      const unsigned levels = (1u << layout.bitDepth) - 1;
      g = static_cast<std::uint8_t>((g >> (8 - layout.bitDepth)) * 255 / levels);
    }
    return {g, g, g};
  }
  return c;
}

TEST(PictureDecode, PngOfEveryLayoutIsCutToTheBandExactly) {
  const struct {
    PngLayout layout;
    const char* name;
  } layouts[] = {
      {{PngColor::Rgb, 8, false}, "rgb8"},
      {{PngColor::RgbAlpha, 8, false}, "rgba8"},
      {{PngColor::Rgb, 16, false}, "rgb16"},
      {{PngColor::RgbAlpha, 16, true}, "rgba16 interlaced"},
      {{PngColor::Gray, 8, false}, "gray8"},
      {{PngColor::Gray, 4, false}, "gray4"},
      {{PngColor::Gray, 1, true}, "gray1 interlaced"},
      {{PngColor::GrayAlpha, 8, false}, "gray-alpha8"},
      {{PngColor::Palette, 8, false}, "palette8"},
      {{PngColor::Rgb, 8, true}, "rgb8 interlaced"},
  };
  for (const auto& entry : layouts) {
    if (!CanEncodePng(entry.layout)) continue;
    for (Size size : kSizes) {
      SCOPED_TRACE(std::string(entry.name) + " " + Describe(size));
      const auto bytes = EncodePng(size.width, size.height, Gradient, entry.layout);
      ASSERT_FALSE(bytes.empty()) << "the encoder wrote nothing";
      const auto picture = DecodePngTopLeft(bytes, kBandW, kBandH);
      ASSERT_TRUE(picture.has_value());
      ASSERT_EQ(picture->channels, 4);
      ExpectTopLeftCorner(
          *picture, size, [&](int x, int y) { return ExpectedPng(x, y, entry.layout); }, 0);
      const bool alpha = entry.layout.HasAlpha();
      const int x = picture->width - 1;
      EXPECT_EQ(picture->Pixel(x, 0)[3], alpha ? 255 - x % 256 : 255);
    }
  }
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> bytes, std::size_t keep) {
  bytes.resize(std::min(keep, bytes.size()));
  return bytes;
}

TEST(PictureDecode, BrokenOrForeignDataGivesNoPicture) {
  const auto jpeg = EncodeJpeg(300, 200, Gradient);
  const auto png = EncodePng(300, 200, Gradient, {PngColor::Rgb, 8, false});
  std::vector<std::uint8_t> noise(4096);
  std::mt19937 random(7);
  for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
  auto pngBadCrc = png;
  pngBadCrc[40] ^= 0x55;  // inside the first IDAT chunk
  enum Decoder { Jpeg, Png };
  const struct {
    const char* name;
    Decoder decoder;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"empty jpeg", Jpeg, {}},
      {"empty png", Png, {}},
      {"jpeg cut inside its header", Jpeg, Truncated(jpeg, 20)},
      {"png cut after its signature", Png, Truncated(png, 12)},
      {"png cut inside the first rows", Png, Truncated(png, 200)},
      {"png with a damaged chunk", Png, pngBadCrc},
      {"png given as jpeg", Jpeg, png},
      {"jpeg given as png", Png, jpeg},
      {"noise as jpeg", Jpeg, noise},
      {"noise as png", Png, noise},
  };
  for (const auto& broken : cases) {
    SCOPED_TRACE(broken.name);
    const auto picture = broken.decoder == Jpeg ? DecodeJpegTopLeft(broken.bytes, kBandW, kBandH)
                                                : DecodePngTopLeft(broken.bytes, kBandW, kBandH);
    EXPECT_FALSE(picture.has_value());
  }
}

TEST(PictureDecode, OversizedPicturesAreRefused) {
  const int side = kMaxPictureSide + 1;
  EXPECT_FALSE(DecodeJpegTopLeft(EncodeJpeg(side, 8, Gradient), kBandW, kBandH).has_value());
  EXPECT_FALSE(DecodeJpegTopLeft(EncodeJpeg(8, side, Gradient), kBandW, kBandH).has_value());
  EXPECT_FALSE(
      DecodePngTopLeft(EncodePng(side, 1, Gradient, {PngColor::Gray, 1, false}), kBandW, kBandH)
          .has_value());
  EXPECT_FALSE(
      DecodePngTopLeft(EncodePng(1, side, Gradient, {PngColor::Gray, 1, false}), kBandW, kBandH)
          .has_value());
  // The largest side allowed still decodes.
  EXPECT_TRUE(DecodePngTopLeft(EncodePng(kMaxPictureSide, 1, Gradient, {PngColor::Gray, 1, false}),
                               kBandW, kBandH)
                  .has_value());
}

// Damaged copies of good pictures must come back as a picture or as nothing, never a crash
// (the sanitizer build watches for reads outside the buffers).
TEST(PictureDecode, DamagedPicturesNeverCrash) {
  const JpegMode second =
      CanEncodeJpeg(JpegMode::Progressive) ? JpegMode::Progressive : JpegMode::Grayscale;
  const std::vector<std::uint8_t> originals[] = {EncodeJpeg(600, 100, Gradient),
                                                 EncodeJpeg(120, 90, Gradient, second)};
  const std::vector<std::uint8_t> pngs[] = {
      EncodePng(600, 100, Gradient, {PngColor::RgbAlpha, 8, false}),
      EncodePng(120, 90, Gradient, {PngColor::Palette, 8, true})};
  std::mt19937 random(2024);
  auto damage = [&random](std::vector<std::uint8_t> bytes) {
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < flips; ++i) {
      bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    }
    if (random() % 4 == 0) bytes.resize(random() % bytes.size());
    return bytes;
  };
  int decoded = 0;
  for (int round = 0; round < 150; ++round) {
    for (const auto& jpeg : originals) {
      const auto picture = DecodeJpegTopLeft(damage(jpeg), kBandW, kBandH);
      if (picture) {
        ++decoded;
        EXPECT_EQ(picture->pixels.size(),
                  static_cast<std::size_t>(picture->width) * picture->height * 3);
      }
    }
    for (const auto& png : pngs) {
      const auto picture = DecodePngTopLeft(damage(png), kBandW, kBandH);
      if (picture) {
        ++decoded;
        EXPECT_EQ(picture->pixels.size(),
                  static_cast<std::size_t>(picture->width) * picture->height * 4);
      }
    }
  }
  EXPECT_GT(decoded, 0);  // some damage is survivable: the loop did exercise the decoders
}

}  // namespace
