#include "NewsBorder.h"

#include "TestWindow.h"

namespace {

using NewsBorderTest = WindowTest;

TEST_F(NewsBorderTest, StripsFrameThePageInsideItsBounds) {
  struct Case {
    int x, y, width, height;
    RECT left, top, right, bottom;  // left, top, width, height
  };
  const Case cases[] = {
      {240,
       152,
       252,
       129,
       {240, 152, 2, 129},
       {240, 152, 252, 2},
       {490, 152, 2, 129},
       {240, 279, 252, 2}},
      {0, 0, 2, 2, {0, 0, 2, 2}, {0, 0, 2, 2}, {0, 0, 2, 2}, {0, 0, 2, 2}},
      // A page narrower than a strip: the right and bottom strips reach left of and above it.
      {10, 10, 1, 0, {10, 10, 2, 0}, {10, 10, 1, 2}, {9, 10, 2, 0}, {10, 8, 1, 2}},
      {-20, -30, 50, 60, {-20, -30, 2, 60}, {-20, -30, 50, 2}, {28, -30, 2, 60}, {-20, 28, 50, 2}},
  };
  for (const Case& c : cases) {
    NewsBorder border(parent_, c.x, c.y, c.width, c.height, RGB(0, 0, 0));
    const auto& strips = border.Strips();
    for (HWND strip : strips) ASSERT_NE(strip, nullptr);
    EXPECT_EQ(PlaceOf(strips[0]), c.left) << c.x << "," << c.y << " " << c.width << "x" << c.height;
    EXPECT_EQ(PlaceOf(strips[1]), c.top) << c.x << "," << c.y << " " << c.width << "x" << c.height;
    EXPECT_EQ(PlaceOf(strips[2]), c.right)
        << c.x << "," << c.y << " " << c.width << "x" << c.height;
    EXPECT_EQ(PlaceOf(strips[3]), c.bottom)
        << c.x << "," << c.y << " " << c.width << "x" << c.height;
  }
}

TEST_F(NewsBorderTest, StripsLieAboveThePageAndShowAndHideTogether) {
  const HWND page = ::CreateWindowExW(0, L"STATIC", L"page", WS_CHILD | WS_VISIBLE, 240, 152, 252,
                                      129, parent_, nullptr, nullptr, nullptr);
  ASSERT_NE(page, nullptr);
  NewsBorder border(parent_, 240, 152, 252, 129, RGB(0, 0, 0));
  for (HWND strip : border.Strips()) {
    // Each strip comes before the page in the z-order, top first.
    bool pageBelow = false;
    for (HWND below = ::GetWindow(strip, GW_HWNDNEXT); below != nullptr;
         below = ::GetWindow(below, GW_HWNDNEXT)) {
      pageBelow = pageBelow || below == page;
    }
    EXPECT_TRUE(pageBelow);
    EXPECT_TRUE(::IsWindowVisible(strip));
  }
  border.Show(false);
  for (HWND strip : border.Strips()) EXPECT_FALSE(::IsWindowVisible(strip));
  border.Show(true);
  for (HWND strip : border.Strips()) EXPECT_TRUE(::IsWindowVisible(strip));
}

TEST_F(NewsBorderTest, StripsArePaintedInTheirColourAndLeaveWithTheBorder) {
  const COLORREF colour = RGB(0x12, 0x80, 0xF0);
  HWND strips[4];
  {
    NewsBorder border(parent_, 100, 100, 60, 40, colour);
    for (int i = 0; i < 4; ++i) strips[i] = border.Strips()[i];
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 60, 60);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    for (HWND strip : strips) {
      const RECT place = PlaceOf(strip);
      ::PatBlt(memory, 0, 0, 60, 60, WHITENESS);
      ASSERT_TRUE(::PrintWindow(strip, memory, PW_CLIENTONLY));
      EXPECT_EQ(::GetPixel(memory, 0, 0), colour);
      EXPECT_EQ(::GetPixel(memory, place.right - 1, place.bottom - 1), colour);
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
  }
  for (HWND strip : strips) EXPECT_FALSE(::IsWindow(strip));
}

}  // namespace
