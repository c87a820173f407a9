#include "WindowFonts.h"

#include <algorithm>

#include "Win32Text.h"

namespace {

constexpr wchar_t kDesignFace[] = L"MS Sans Serif";
constexpr int kDesignPoints = 8;
constexpr int kLargestPoints = 720;  // ten inches: anything above is a broken setting

UniqueFont MakeFont(const std::wstring& face, int points, bool bold) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(std::min(points, kLargestPoints), 96, 72);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace

UniqueFont DesignFont() { return MakeFont(kDesignFace, kDesignPoints, false); }

UniqueFont SettingsFont(const std::string& name, int points, bool bold) {
  return MakeFont(name.empty() ? std::wstring(kDesignFace) : WideFrom1252(name),
                  points > 0 ? points : kDesignPoints, bold);
}

SIZE MeasureText(HFONT font, const std::wstring& text) {
  UniqueMemoryDc dc;
  SelectedObject selected(dc.Get(), font);
  RECT bounds{0, 0, 0, 0};
  if (text.empty()) {
    // An empty label is as high as one line of its font.
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    return SIZE{0, metrics.tmHeight};
  }
  ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
  return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}
