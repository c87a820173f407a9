// Painting the view, and what changes it after creation: mouse-over, Start, status, gauge.
#include <algorithm>

#include "SkinnedView.h"

using namespace morvo;

namespace {

constexpr RECT kNothing{0, 0, 0, 0};

bool Contains(const LayoutRect& rect, int x, int y) {
  return x >= rect.X && y >= rect.Y && x - rect.X < rect.Width && y - rect.Y < rect.Height;
}

RECT Union(const RECT& a, const RECT& b) {
  RECT both;
  ::UnionRect(&both, &a, &b);
  return both;
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  const UniqueBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.Get());
}

}  // namespace

RECT SkinnedView::OnClient(const LayoutRect& onPanel) const {
  return RECT{onPanel.X, onPanel.Y + panelTop_, onPanel.X + onPanel.Width,
              onPanel.Y + panelTop_ + onPanel.Height};
}

RECT SkinnedView::NewsBounds() const { return OnClient(news_); }

RECT SkinnedView::StatusArea() const {
  // The status line grows to the right: everything from its left to the panel's edge.
  return OnClient(
      LayoutRect{status_.at.X, status_.at.Y, panel_.Width - status_.at.X, statusLineHeight_});
}

RECT SkinnedView::GaugeArea() const { return OnClient(gauge_); }

void SkinnedView::Paint(HDC dc, const RECT& dirty) const {
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, dirty.left, dirty.top, dirty.right, dirty.bottom);
  Fill(dc, RECT{0, 0, client_.Width, client_.Height}, RGB(255, 255, 255));
  if (banner_) DrawPicture(dc, *banner_, 0);

  // The panel clips what lies on it.
  ::IntersectClipRect(dc, 0, panelTop_, panel_.Width, panelTop_ + panel_.Height);
  for (const Picture& picture : pictures_) {
    if (picture.visible) DrawPicture(dc, picture, panelTop_);
  }
  if (progressVisible_) {
    const UniqueBrush frame(::CreateSolidBrush(frameColour_));
    const RECT frameRect = OnClient(GaugeFrame(gauge_));
    ::FrameRect(dc, &frameRect, frame.Get());
  }
  // Drawn in the order the labels lie: About, Quit, Start, then the status line.
  for (std::size_t i = captions_.size(); i-- > 0;) {
    if (captions_[i].visible) {
      DrawText(dc, captionFont_.Get(), captionColour_, captions_[i].text, captions_[i].at);
    }
  }
  if (status_.visible) DrawText(dc, statusFont_.Get(), statusColour_, status_.text, status_.at);
  if (progressVisible_) {
    const RECT area = GaugeArea();
    const int filled = GaugeFilledWidth(gauge_.Width, percent_);
    Fill(dc, RECT{area.left, area.top, area.left + filled, area.bottom}, gaugeFore_);
    Fill(dc, RECT{area.left + filled, area.top, area.right, area.bottom}, gaugeBack_);
  }
  ::RestoreDC(dc, saved);
}

void SkinnedView::DrawPicture(HDC dc, const Picture& picture, int top) const {
  if (!picture.bitmap) return;
  const UniqueMemoryDc source(dc);
  const SelectedObject selected(source.Get(), picture.bitmap.Get());
  const int x = picture.bounds.X, y = picture.bounds.Y + top;
  const int width = picture.bounds.Width, height = picture.bounds.Height;
  if (!picture.keyed) {
    ::BitBlt(dc, x, y, width, height, source.Get(), 0, 0, SRCCOPY);
    return;
  }
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(dc, x, y, width, height, source.Get(), 0, 0, width, height, blend);
}

void SkinnedView::DrawText(HDC dc, HFONT font, COLORREF colour, const std::wstring& text,
                           LayoutPoint at) const {
  if (text.empty()) return;
  const SelectedObject selected(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colour);
  RECT bounds{at.X, at.Y + panelTop_, at.X, at.Y + panelTop_};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, DT_NOPREFIX | DT_NOCLIP);
}

std::optional<SkinButton> SkinnedView::ClickAreaAt(POINT client) const {
  const int x = client.x, y = client.y - panelTop_;
  if (!Contains(LayoutRect{0, 0, panel_.Width, panel_.Height}, x, y)) return std::nullopt;
  // The areas lie About, Quit, Start from the bottom: the topmost one takes the mouse.
  const SkinButton buttons[] = {SkinButton::Start, SkinButton::Quit, SkinButton::About};
  for (std::size_t i = 0; i < clickAreas_.size(); ++i) {
    if (clickAreas_[i].visible && Contains(clickAreas_[i].bounds, x, y)) return buttons[i];
  }
  return std::nullopt;
}

bool SkinnedView::IsBackgroundAt(POINT client) const {
  const int x = client.x, y = client.y - panelTop_;
  if (!Contains(LayoutRect{0, 0, panel_.Width, panel_.Height}, x, y)) return false;
  if (ClickAreaAt(client)) return false;
  return !(progressVisible_ && Contains(gauge_, x, y));
}

RECT SkinnedView::SetHover(std::optional<SkinButton> button) {
  if (button == hover_) return kNothing;
  const auto swap = [this](SkinButton which, bool over) {
    static constexpr PictureIndex kNormal[] = {kStart, kQuit, kAbout};
    static constexpr PictureIndex kOver[] = {kStartB, kQuitB, kAboutB};
    const auto index = static_cast<std::size_t>(which);
    // The other picture is shown first, then this one hidden.
    pictures_[over ? kOver[index] : kNormal[index]].visible = true;
    pictures_[over ? kNormal[index] : kOver[index]].visible = false;
    return OnClient(clickAreas_[index].bounds);
  };
  RECT changed = kNothing;
  if (hover_) changed = swap(*hover_, false);
  hover_ = button;
  if (hover_) changed = Union(changed, swap(*hover_, true));
  return changed;
}

void SkinnedView::ShowStart() {
  if (startAllowed_) clickAreas_[0].visible = true;
}

RECT SkinnedView::SetStatusText(const std::wstring& text) {
  if (text == status_.text) return kNothing;
  status_.text = text;
  return status_.visible ? StatusArea() : kNothing;
}

RECT SkinnedView::SetGaugeMaxValue(std::int64_t maximum) {
  gaugeMax_ = std::max<std::int64_t>(maximum, 0);
  return SetGaugeProgress(gaugePosition_);
}

RECT SkinnedView::SetGaugeProgress(std::int64_t position) {
  gaugePosition_ = std::clamp<std::int64_t>(position, 0, gaugeMax_);
  const int percent = morvo::GaugePercent(gaugePosition_, gaugeMax_);
  if (percent == percent_) return kNothing;
  percent_ = percent;
  return progressVisible_ ? GaugeArea() : kNothing;
}
