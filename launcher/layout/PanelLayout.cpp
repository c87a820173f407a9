#include "PanelLayout.h"

#include <algorithm>
#include <cstdint>

namespace morvo {

namespace {

constexpr int kStatusGap = 4;
constexpr int kStrip = 2;

// Sums of clamped coordinates stay inside int; the result is clamped as the settings' are.
LayoutRect Clamped(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
  const auto narrow = [](std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
  };
  return ControlBounds(SettingsRect{narrow(x), narrow(y), narrow(width), narrow(height)});
}

}  // namespace

LayoutPoint CaptionPosition(const LayoutRect& button, int textWidth, int textHeight) {
  return LayoutPoint{button.X + button.Width / 2 - textWidth / 2,
                     button.Y + button.Height / 2 - textHeight / 2};
}

LayoutPoint StatusLinePosition(const LayoutRect& gauge, int sampleTextHeight) {
  return LayoutPoint{gauge.X - 1, gauge.Y - sampleTextHeight - kStatusGap};
}

LayoutRect GaugeFrame(const LayoutRect& gauge) {
  return LayoutRect{gauge.X - 1, gauge.Y - 1, gauge.Width + 2, gauge.Height + 2};
}

std::array<LayoutRect, 4> NewsStrips(const LayoutRect& news) {
  const std::int64_t x = news.X, y = news.Y, w = news.Width, h = news.Height;
  return {Clamped(x, y, kStrip, h), Clamped(x, y, w, kStrip), Clamped(x + w - kStrip, y, kStrip, h),
          Clamped(x, y + h - kStrip, w, kStrip)};
}

BannerLayout LayOutBanner(int bannerKind, int panelHeight) {
  if (bannerKind == 0) return BannerLayout{0, panelHeight};
  if (HasBannerBand(bannerKind)) {
    return BannerLayout{kBannerBandHeight, panelHeight + kBannerBandHeight};
  }
  return BannerLayout{kBannerBandHeight, kDesignClientHeight};
}

int GaugePercent(std::int64_t position, std::int64_t maximum) {
  if (maximum <= 0) return 0;
  position = std::clamp<std::int64_t>(position, 0, maximum);
  // Dividing before multiplying would lose the percent. Sizes too large for the product (above
  // 92 PB, which no download or archive reaches) are scaled down together first; 32-bit
  // builds have no wider integer to take it in.
  constexpr std::int64_t kLargestExact = INT64_MAX / 100;
  while (maximum > kLargestExact) {
    maximum >>= 1;
    position >>= 1;
  }
  return static_cast<int>(position * 100 / maximum);
}

int GaugeFilledWidth(int width, int percent) {
  return static_cast<int>(std::int64_t{std::max(width, 0)} * std::clamp(percent, 0, 100) / 100);
}

}  // namespace morvo
