// The task bar button window: the program's title, and what minimising, restoring, activating
// and closing it do to the main window it owns (a plain owned pop-up stands in for it here).
#include "TaskBarButton.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring TitleOf(HWND window) {
  wchar_t title[64] = {};
  ::GetWindowTextW(window, title, 64);
  return title;
}

HWND OwnedPopup(HWND owner) {
  return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 10, 10, 40,
                           30, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(TaskBarButton, ShowsTheProgramTitleAndActsOnTheWindowItOwns) {
  TaskBarButton button;
  if (button.Window() == nullptr) GTEST_SKIP() << "no display to create windows on";
  EXPECT_EQ(TitleOf(button.Window()), L"XAM Patcher..");
  // A tool window gets no task bar button.
  EXPECT_EQ(::GetWindowLongPtrW(button.Window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

  const HWND main = OwnedPopup(button.Window());
  ASSERT_NE(main, nullptr);
  button.SetMainWindow(main);
  button.Show();
  ::ShowWindow(main, SW_SHOW);
  EXPECT_TRUE(::IsWindowVisible(button.Window()));

  ::SendMessageW(button.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(::IsWindowVisible(main)) << "minimised from the task bar, the window hides";
  ::SendMessageW(button.Window(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(::IsWindowVisible(main)) << "restored, it shows again";

  ::SetActiveWindow(button.Window());
  EXPECT_EQ(::GetFocus(), main) << "activating the button gives the keyboard to the window";

  ::SendMessageW(button.Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(main)) << "closing the button closes the window";
  EXPECT_TRUE(::IsWindow(button.Window())) << "the button goes only with its owner object";
}
