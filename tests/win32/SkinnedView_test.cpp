// The window's drawing, rendered into memory: what it shows must match the skin pixel for pixel.
#include "SkinnedView.h"

#include <gtest/gtest.h>

#include "GdiOwners.h"
#include "SettingsBuilder.h"
#include "SkinBmp.h"
#include "TempDir.h"

using namespace morvo;

namespace {

constexpr std::uint32_t kBackground = 0x206020;
constexpr std::uint32_t kStart = 0xC01010;
constexpr std::uint32_t kStartHover = 0xF09010;
constexpr std::uint32_t kQuit = 0x1010C0;
constexpr std::uint32_t kQuitHover = 0x10C0C0;
constexpr std::uint32_t kAbout = 0xD0D010;
constexpr std::uint32_t kAboutHover = 0x801080;
constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// 400 x 300: the background block 300 x 200 at 0, 0; the button blocks 60 x 20 down the column
// at x = 300 (Start, Start hover, Quit, Quit hover, About, About hover); the Start block has a
// magenta square at 2..7, 2..7 of its own area.
std::vector<std::uint8_t> BlockSkin() {
  const std::uint32_t blocks[] = {kStart, kStartHover, kQuit, kQuitHover, kAbout, kAboutHover};
  return MakeBmp24(400, 300, [&](int x, int y) -> std::uint32_t {
    if (x < 300 && y < 200) return kBackground;
    if (x >= 300 && x < 360 && y < 120) {
      if (x >= 302 && x < 308 && y >= 2 && y < 8) return kMagenta;
      return blocks[y / 20];
    }
    return 0;
  });
}

SettingsBuilder BlockSettings() {
  SettingsBuilder builder;
  builder.FrenchCaptions()
      .Skin(BlockSkin(), {.background = {0, 0, 300, 200},
                          .start = {300, 0, 60, 20},
                          .startHover = {300, 20, 60, 20},
                          .quit = {300, 40, 60, 20},
                          .quitHover = {300, 60, 60, 20},
                          .about = {300, 80, 60, 20},
                          .aboutHover = {300, 100, 60, 20}})
      .Layout({.window = {320, 220},
               .start = {10, 150, 60, 20},
               .quit = {80, 150, 60, 20},
               .about = {150, 150, 60, 20},
               .progress = {20, 40, 200, 10},
               .news = {400, 400, 50, 50}})
      .Show({.start = true, .quit = true, .progress = true, .news = false})
      .Paint({.progressFrame = 0x000000, .progressBack = 0xFFFFFF, .progressFore = 0x0000FF})
      // Captions in the background's colour: they never change a checked pixel's colour.
      .Fonts({"", 8, 0x206020, false}, {"", 8, 0x206020, false});
  return builder;
}

// The view painted whole into a 32-bit memory bitmap; pixels read back as 0xRRGGBB.
class Rendering {
 public:
  explicit Rendering(const SkinnedView& view) : size_(view.ClientSize()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size_.Width;
    info.bmiHeader.biHeight = -size_.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = UniqueBitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<const std::uint32_t*>(bits);
    const SelectedObject selected(dc_.Get(), bitmap_.Get());
    view.Paint(dc_.Get(), RECT{0, 0, size_.Width, size_.Height});
    ::GdiFlush();
  }
  std::uint32_t At(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * size_.Width + x] & 0xFFFFFF;
  }

 private:
  LayoutSize size_;
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  const std::uint32_t* pixels_ = nullptr;
};

class SkinnedViewTest : public ::testing::Test {
 protected:
  bool Build(PatcherSettings settings) {
    settings_ = std::move(settings);
    return view_.Build(settings_, dir_.path());
  }

  TempDir dir_;
  PatcherSettings settings_;
  SkinnedView view_;
};

}  // namespace

TEST_F(SkinnedViewTest, DrawsTheSkinWithMagentaKeyedOutAndSwapsOnHover) {
  ASSERT_TRUE(Build(BlockSettings().Build()));
  EXPECT_TRUE(settings_.SkinImage.empty());  // the undecoded bytes are released
  const int top = view_.PanelTop();
  {
    const Rendering shown(view_);
    EXPECT_EQ(shown.At(5, top + 5), kBackground);
    EXPECT_EQ(shown.At(310, top + 5), kWhite);  // right of a background rect smaller than it
    EXPECT_EQ(shown.At(5, top + 210), kWhite);  // below it
    EXPECT_EQ(shown.At(10 + 1, 150 + top + 1), kStart);
    EXPECT_EQ(shown.At(10 + 4, 150 + top + 4), kBackground);  // magenta shows what lies below
    EXPECT_EQ(shown.At(80 + 2, 150 + top + 2), kQuit);
    EXPECT_EQ(shown.At(150 + 59, 150 + top + 19), kAbout);
    EXPECT_EQ(shown.At(20, 40 + top + 5), kWhite);     // the empty gauge
    EXPECT_EQ(shown.At(19, 40 + top + 5), 0x000000u);  // its frame
  }
  // Start's click area is not active yet: hovering Quit swaps only Quit's pictures.
  EXPECT_FALSE(view_.ClickAreaAt({15, 150 + top + 5}));
  ASSERT_EQ(view_.ClickAreaAt({85, 150 + top + 5}), SkinButton::Quit);
  const RECT changed = view_.SetHover(SkinButton::Quit);
  EXPECT_FALSE(::IsRectEmpty(&changed));
  EXPECT_EQ(Rendering(view_).At(85, 150 + top + 5), kQuitHover);
  view_.SetHover(std::nullopt);
  EXPECT_EQ(Rendering(view_).At(85, 150 + top + 5), kQuit);

  view_.ShowStart();
  ASSERT_EQ(view_.ClickAreaAt({15, 150 + top + 5}), SkinButton::Start);
  view_.SetHover(SkinButton::Start);
  const Rendering hovered(view_);
  EXPECT_EQ(hovered.At(15, 150 + top + 10), kStartHover);
  EXPECT_EQ(hovered.At(14, 150 + top + 4), kStartHover);  // the hover block has no magenta
}

TEST_F(SkinnedViewTest, GaugeFillsWholePercentsAndAsksForRepaintOnlyOnChange) {
  ASSERT_TRUE(Build(BlockSettings().Build()));
  const int top = view_.PanelTop();
  view_.SetGaugeMaxValue(1000);
  const RECT unchanged = view_.SetGaugeProgress(9);  // still 0 %
  EXPECT_TRUE(::IsRectEmpty(&unchanged));
  const RECT changed = view_.SetGaugeProgress(500);
  EXPECT_FALSE(::IsRectEmpty(&changed));
  const Rendering half(view_);
  EXPECT_EQ(half.At(20 + 99, 40 + top + 5), 0xFF0000u);  // red, 0x0000FF in 0x00BBGGRR
  EXPECT_EQ(half.At(20 + 100, 40 + top + 5), kWhite);
  view_.SetGaugeMaxValue(-5);  // a negative maximum counts as 0 and shows nothing
  EXPECT_EQ(view_.GaugePercent(), 0);
}

TEST_F(SkinnedViewTest, ClientHeightFollowsTheBannerKind) {
  struct Case {
    int kind, panelTop, height;
  };
  for (const Case c : {Case{0, 0, 220}, Case{3, 88, 308}, Case{4, 88, 308}, Case{9, 88, 557}}) {
    SkinnedView view;
    PatcherSettings settings =
        BlockSettings()
            .With([&](PatcherSettings& s) {
              s.BannerKind = c.kind;
              s.BannerData = std::vector<std::uint8_t>{'n', 'o', 't'};  // no picture: band empty
            })
            .Build();
    ASSERT_TRUE(view.Build(settings, dir_.path())) << c.kind;
    EXPECT_EQ(view.ClientSize(), (LayoutSize{320, c.height})) << c.kind;
    EXPECT_EQ(view.PanelTop(), c.panelTop) << c.kind;
    EXPECT_EQ(settings.BannerData.has_value(), c.kind == 0 || c.kind == 9) << c.kind;
  }
}

TEST_F(SkinnedViewTest, SwitchesAndMissingSkinRectangles) {
  ASSERT_TRUE(Build(BlockSettings()
                        .Show({.start = false, .quit = false, .progress = false, .news = false})
                        .With([](PatcherSettings& s) {
                          s.SkinAboutHoverRect = {0, 0, 0, 10};
                        })
                        .Build()));
  const int top = view_.PanelTop();
  view_.ShowStart();  // Start switched off stays off whatever the run says
  EXPECT_FALSE(view_.ClickAreaAt({15, 150 + top + 5}));
  EXPECT_FALSE(view_.ClickAreaAt({85, 150 + top + 5}));
  const Rendering hidden(view_);
  EXPECT_EQ(hidden.At(15, 150 + top + 5), kBackground);
  EXPECT_EQ(hidden.At(85, 150 + top + 5), kBackground);
  EXPECT_EQ(hidden.At(19, 40 + top + 5), kBackground);  // no gauge frame
  // A missing mouse-over picture: hovering About leaves only the background.
  ASSERT_EQ(view_.ClickAreaAt({155, 150 + top + 5}), SkinButton::About);
  view_.SetHover(SkinButton::About);
  EXPECT_EQ(Rendering(view_).At(155, 150 + top + 5), kBackground);
  // The background drags, the click areas and the banner band do not.
  EXPECT_TRUE(view_.IsBackgroundAt({5, top + 5}));
  EXPECT_FALSE(view_.IsBackgroundAt({155, 150 + top + 5}));
}

TEST_F(SkinnedViewTest, ASkinThatIsNoPictureBuildsNothing) {
  EXPECT_FALSE(Build(
      BlockSettings().With([](PatcherSettings& s) { s.SkinImage.assign(100, 0x42); }).Build()));
  EXPECT_TRUE(settings_.SkinImage.empty());
}
