// The window classes of the window program, registered once each in the program's module.
#pragma once

#include <windows.h>

// What a class gives every window of it; null members leave the system's default (no icon,
// no cursor, no background: the window paints it all).
struct WindowClassLook {
  HICON Icon = nullptr;
  HCURSOR Cursor = nullptr;
  HBRUSH Background = nullptr;
};

// Registers the class name with procedure and look unless an earlier window registered it
// already; returns the module to create its windows in.
HINSTANCE RegisterWindowClass(const wchar_t* name, WNDPROC procedure, const WindowClassLook& look);
