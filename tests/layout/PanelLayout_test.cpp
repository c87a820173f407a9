#include "PanelLayout.h"

#include <gtest/gtest.h>

#include <climits>

using namespace morvo;

TEST(Layout, SettingsRectanglesAreClampedToWhatAWindowSystemAddresses) {
  EXPECT_EQ(ControlBounds({10, -20, 30, 40}), (LayoutRect{10, -20, 30, 40}));
  EXPECT_EQ(ControlBounds({INT32_MIN, INT32_MAX, -5, INT32_MAX}),
            (LayoutRect{-32768, 32767, 0, 32767}));
  EXPECT_EQ(SkinnedAreaSize({545, 469}), (LayoutSize{545, 469}));
  EXPECT_EQ(SkinnedAreaSize({-1, 100000}), (LayoutSize{0, 8192}));
  EXPECT_TRUE(IsMissingSkinRect({5, 5, 0, 10}));
  EXPECT_TRUE(IsMissingSkinRect({5, 5, 10, -1}));
  EXPECT_FALSE(IsMissingSkinRect({0, 0, 1, 1}));
}

TEST(Layout, CaptionsCentreOnTheirButtonTruncatingHalves) {
  EXPECT_EQ(CaptionPosition({8, 96, 84, 22}, 30, 13), (LayoutPoint{8 + 42 - 15, 96 + 11 - 6}));
  // Odd sizes: each half is truncated on its own.
  EXPECT_EQ(CaptionPosition({0, 0, 5, 5}, 3, 3), (LayoutPoint{1, 1}));
  // A caption wider than its button reaches out on both sides equally.
  EXPECT_EQ(CaptionPosition({100, 10, 40, 13}, 80, 13), (LayoutPoint{80, 10}));
}

TEST(Layout, StatusLineAndFrameSitAroundTheGauge) {
  const LayoutRect gauge{280, 96, 209, 17};
  EXPECT_EQ(StatusLinePosition(gauge, 13), (LayoutPoint{279, 96 - 13 - 4}));
  EXPECT_EQ(GaugeFrame(gauge), (LayoutRect{279, 95, 211, 19}));
}

TEST(Layout, NewsStripsFrameThePageAndStayAddressable) {
  const auto strips = NewsStrips({240, 152, 252, 129});
  EXPECT_EQ(strips[0], (LayoutRect{240, 152, 2, 129}));
  EXPECT_EQ(strips[1], (LayoutRect{240, 152, 252, 2}));
  EXPECT_EQ(strips[2], (LayoutRect{490, 152, 2, 129}));
  EXPECT_EQ(strips[3], (LayoutRect{240, 279, 252, 2}));
  // The far edges of a page at the limits would overflow without the clamp.
  const auto far = NewsStrips(ControlBounds({INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}));
  EXPECT_EQ(far[2], (LayoutRect{32767, 32767, 2, 32767}));
  EXPECT_EQ(far[3], (LayoutRect{32767, 32767, 32767, 2}));
}

TEST(Layout, BannerKindDecidesPanelTopAndClientHeight) {
  struct Case {
    int kind, panelTop, clientHeight;
  };
  for (const Case c :
       {Case{0, 0, 300}, Case{1, 88, 388}, Case{4, 88, 388}, Case{5, 88, 557}, Case{-1, 88, 557}}) {
    const BannerLayout layout = LayOutBanner(c.kind, 300);
    EXPECT_EQ(layout.PanelTop, c.panelTop) << c.kind;
    EXPECT_EQ(layout.ClientHeight, c.clientHeight) << c.kind;
    EXPECT_EQ(HasBannerBand(c.kind), c.kind >= 1 && c.kind <= 4) << c.kind;
  }
}

TEST(Layout, GaugeShowsWholePercentsOfItsWidth) {
  struct Case {
    std::int64_t position, maximum;
    int percent, width, filled;
  };
  const Case cases[] = {
      {0, 100, 0, 200, 0},
      {100, 100, 100, 200, 200},
      {1, 3, 33, 200, 66},
      {2, 3, 66, 209, 137},
      {19, 1000, 1, 200, 2},
      {5, 0, 0, 200, 0},
      {150, 100, 100, 10, 10},
      {-1, 100, 0, 10, 0},
      {std::int64_t{1} << 61, std::int64_t{1} << 62, 50, 100, 50},
  };
  for (const Case& c : cases) {
    const int percent = GaugePercent(c.position, c.maximum);
    EXPECT_EQ(percent, c.percent) << c.position << "/" << c.maximum;
    EXPECT_EQ(GaugeFilledWidth(c.width, percent), c.filled) << c.position << "/" << c.maximum;
  }
}
