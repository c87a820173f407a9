#include "SettingsColour.h"

namespace {

constexpr std::uint32_t kSystemColourFlag = 0x80000000u;
constexpr std::uint32_t kSystemColourCount = 31;

}  // namespace

COLORREF ColourOfSetting(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  if (bits & kSystemColourFlag) {
    // Only the low byte names the colour; an index the platform does not know gives black.
    const std::uint32_t index = bits & 0xFFu;
    return index < kSystemColourCount ? ::GetSysColor(static_cast<int>(index)) : RGB(0, 0, 0);
  }
  return bits & 0xFFFFFFu;
}
