// The window classes of the news page's child windows, registered in the program's module.
#pragma once

#include <windows.h>

// Registers the class name with procedure and background (null: the window paints it all) unless
// an earlier window registered it already; returns the module to create its windows in.
HINSTANCE RegisterChildWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background);
