#include "NewsBorder.h"

#include <algorithm>
#include <cstdint>

#include "WindowClass.h"

namespace {

constexpr wchar_t kStripClass[] = L"MorvoNewsBorder";
constexpr const wchar_t* kStripNames[] = {L"Pnl_BBorderLeft", L"Pnl_BBorderTop",
                                          L"Pnl_BBorderRight", L"Pnl_BBorderBottom"};

// Far sides of a page placed near the ends of the coordinate range stay in range.
int Coordinate(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

void Paint(HWND strip, HDC dc) {
  const auto brush = reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(strip, GWLP_USERDATA));
  RECT area;
  ::GetClientRect(strip, &area);
  if (brush != nullptr) ::FillRect(dc, &area, brush);
}

}  // namespace

NewsBorder::NewsBorder(HWND parent, int x, int y, int width, int height, COLORREF colour)
    : brush_(::CreateSolidBrush(colour)) {
  const HINSTANCE instance = RegisterWindowClass(kStripClass, &NewsBorder::WindowProc, {});

  struct Place {
    int X, Y, Width, Height;
  };
  const int right = Coordinate(std::int64_t{x} + width - kThickness);
  const int bottom = Coordinate(std::int64_t{y} + height - kThickness);
  const Place places[] = {{x, y, kThickness, height},
                          {x, y, width, kThickness},
                          {right, y, kThickness, height},
                          {x, bottom, width, kThickness}};
  for (std::size_t i = 0; i < strips_.size(); ++i) {
    const Place& place = places[i];
    strips_[i] = ::CreateWindowExW(0, kStripClass, kStripNames[i],
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.X, place.Y,
                                   place.Width, place.Height, parent, nullptr, instance, nullptr);
    if (strips_[i] == nullptr) continue;
    ::SetWindowLongPtrW(strips_[i], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(brush_));
    ::SetWindowPos(strips_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

NewsBorder::~NewsBorder() {
  for (HWND strip : strips_) {
    if (strip != nullptr) ::DestroyWindow(strip);
  }
  if (brush_ != nullptr) ::DeleteObject(brush_);
}

void NewsBorder::Show(bool visible) {
  for (HWND strip : strips_) {
    if (strip != nullptr) ::ShowWindow(strip, visible ? SW_SHOWNA : SW_HIDE);
  }
}

LRESULT CALLBACK NewsBorder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window, &paint);
      Paint(window, dc);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:  // a capture of the window (PrintWindow) paints it the same
      Paint(window, reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}
