// The four 2-pixel strips that frame the news page: child windows of the panel painted in one
// solid colour, lying above the page so that they cover its outermost pixels.
#pragma once

#include <windows.h>

#include <array>

class NewsBorder {
 public:
  static constexpr int kThickness = 2;

  // Creates the strips left (x, y, 2, height), top (x, y, width, 2), right (x + width - 2, y, 2,
  // height) and bottom (x, y + height - 2, width, 2), visible and above every sibling that
  // exists already: create the news page first. The strips show the parent's cursor.
  NewsBorder(HWND parent, int x, int y, int width, int height, COLORREF colour);
  ~NewsBorder();
  NewsBorder(const NewsBorder&) = delete;
  NewsBorder& operator=(const NewsBorder&) = delete;

  void Show(bool visible);

  // Left, top, right, bottom.
  const std::array<HWND, 4>& Strips() const { return strips_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HBRUSH brush_;
  std::array<HWND, 4> strips_{};
};
