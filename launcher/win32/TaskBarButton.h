// The program's button in the task bar. The task bar shows the title of an unowned window, and
// the program's title there is not the main window's caption: so a window of its own, of no
// size, carries that title and the program's icon and owns the main window, which then has no
// button of its own. Minimising it from the task bar hides the windows it owns (the system does
// that for an owner); activating it activates the main window, closing it closes the main window.
#pragma once

#include <windows.h>

class TaskBarButton {
 public:
  TaskBarButton();
  ~TaskBarButton();
  TaskBarButton(const TaskBarButton&) = delete;
  TaskBarButton& operator=(const TaskBarButton&) = delete;

  // Null when the window could not be created: the main window is then unowned.
  HWND Window() const { return window_; }
  // The window that activating or closing the button goes on to.
  void SetMainWindow(HWND main);
  // Puts the button in the task bar; the window itself stays of no size.
  void Show();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
};
