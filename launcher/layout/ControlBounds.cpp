#include "ControlBounds.h"

#include <algorithm>

namespace morvo {

namespace {

constexpr int kCoordinateLimit = 32767;
constexpr int kLargestSkinnedArea = 8192;

int Coordinate(std::int32_t value) {
  return std::clamp<std::int32_t>(value, -kCoordinateLimit - 1, kCoordinateLimit);
}

int Extent(std::int32_t value, int limit) { return std::clamp<std::int32_t>(value, 0, limit); }

}  // namespace

LayoutRect ControlBounds(const SettingsRect& rect) {
  return LayoutRect{Coordinate(rect.X), Coordinate(rect.Y), Extent(rect.Width, kCoordinateLimit),
                    Extent(rect.Height, kCoordinateLimit)};
}

LayoutSize SkinnedAreaSize(const SettingsSize& size) {
  return LayoutSize{Extent(size.Width, kLargestSkinnedArea),
                    Extent(size.Height, kLargestSkinnedArea)};
}

}  // namespace morvo
