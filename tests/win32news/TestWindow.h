// What the news tests share: an OLE thread and a top-level window to be the panel, on the Xvfb
// display the test runs on.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    parent_ = ::CreateWindowExW(0, L"STATIC", L"panel", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                0, 545, 469, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr) << "no window: the test needs a display";
  }
  void TearDown() override {
    if (parent_ != nullptr) ::DestroyWindow(parent_);
    ::OleUninitialize();
  }

  // The window's rectangle in the panel's client coordinates, as left, top, width, height.
  RECT PlaceOf(HWND window) const {
    RECT area;
    ::GetWindowRect(window, &area);
    ::MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&area), 2);
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
  }

  // Runs the thread's messages until done() or timeoutMs has passed.
  template <typename Done>
  static bool PumpUntil(Done done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
      if (::GetTickCount() - start > timeoutMs) return false;
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
  }

  HWND parent_ = nullptr;
};

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
