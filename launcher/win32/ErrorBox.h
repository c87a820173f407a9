// The program's error boxes: modal, owned by the main window, caption "Morvo Patcher", error
// icon.
#pragma once

#include <windows.h>

#include <string>

// text is Windows-1252 bytes; returns once the box is closed.
void ShowErrorBox(HWND owner, const std::string& text);
