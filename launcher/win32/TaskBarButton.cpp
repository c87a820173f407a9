#include "TaskBarButton.h"

#include "ResourceNames.h"
#include "Win32Text.h"
#include "WindowCaption.h"
#include "WindowClass.h"

namespace {

constexpr wchar_t kClassName[] = L"MorvoPatcherTaskBarButton";

}  // namespace

TaskBarButton::TaskBarButton() {
  const HINSTANCE instance =
      RegisterWindowClass(kClassName, &WindowProc,
                          {.Icon = ::LoadIconW(::GetModuleHandleW(nullptr), kProgramIconName)});
  // At the middle of the screen, where the system's animations of minimising start and end.
  window_ = ::CreateWindowExW(
      0, kClassName, WideFrom1252(kApplicationTitle).c_str(),
      WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, ::GetSystemMetrics(SM_CXSCREEN) / 2,
      ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, instance, nullptr);
}

TaskBarButton::~TaskBarButton() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

void TaskBarButton::SetMainWindow(HWND main) {
  if (window_ != nullptr)
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(main));
}

void TaskBarButton::Show() {
  if (window_ != nullptr) ::ShowWindow(window_, SW_SHOWNA);
}

LRESULT CALLBACK TaskBarButton::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  const auto main = reinterpret_cast<HWND>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_SETFOCUS:
      // Activated from the task bar (or by Alt+Tab): the keyboard goes to the main window.
      if (main != nullptr && ::IsWindowVisible(main) && ::IsWindowEnabled(main)) {
        ::SetFocus(main);
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closed from the task bar: the main window ends the program as if it were closed.
      if (main != nullptr) {
        ::SendMessageW(main, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}
