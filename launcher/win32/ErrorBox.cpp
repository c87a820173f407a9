#include "ErrorBox.h"

#include "Win32Text.h"
#include "WindowCaption.h"

void ShowErrorBox(HWND owner, const std::string& text) {
  ::MessageBoxW(owner, WideFrom1252(text).c_str(), WideFrom1252(kWindowCaption).c_str(),
                MB_OK | MB_ICONERROR);
}
