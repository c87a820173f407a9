// Where the skinned window's drawn parts go, computed once for both window programs: captions,
// status line, gauge frame, news strips and the banner band.
#pragma once

#include <array>

#include "ControlBounds.h"

namespace morvo {

struct LayoutPoint {
  int X = 0;
  int Y = 0;

  bool operator==(const LayoutPoint&) const = default;
};

inline constexpr int kDesignClientWidth = 545;
inline constexpr int kDesignClientHeight = 557;
inline constexpr int kBannerBandWidth = 545;
inline constexpr int kBannerBandHeight = 88;
// The status line is placed by the height of this text in the design font.
inline constexpr char kStatusSample[] = "NO MSG";

// A caption centred on its button, measured in the design font: a caption wider than the button
// reaches out equally on both sides. Halves truncate toward zero.
LayoutPoint CaptionPosition(const LayoutRect& button, int textWidth, int textHeight);

// The status line's top-left: one pixel left of the gauge, 4 pixels above it.
LayoutPoint StatusLinePosition(const LayoutRect& gauge, int sampleTextHeight);

// The 1-pixel frame just outside the gauge.
LayoutRect GaugeFrame(const LayoutRect& gauge);

// The four 2-pixel strips framing the news page, in the order left, top, right, bottom, each
// clamped as a control of its own.
std::array<LayoutRect, 4> NewsStrips(const LayoutRect& news);

struct BannerLayout {
  int PanelTop = 0;
  int ClientHeight = 0;
};

// Kinds 1 to 4 have the 88-pixel band above the panel (even when it stays empty).
inline bool HasBannerBand(int bannerKind) { return bannerKind >= 1 && bannerKind <= 4; }

// Kind 0: the panel at the top, the client as high as the panel. Kinds 1 to 4: the panel under
// the 88-pixel band. Any other kind: the panel stays under the design band and the client keeps
// its design height.
BannerLayout LayOutBanner(int bannerKind, int panelHeight);

// Whole percents of position in 0 .. maximum (0 for a maximum of 0), and the filled width.
int GaugePercent(std::int64_t position, std::int64_t maximum);
int GaugeFilledWidth(int width, int percent);

}  // namespace morvo
