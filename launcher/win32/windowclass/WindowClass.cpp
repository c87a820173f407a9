#include "WindowClass.h"

HINSTANCE RegisterWindowClass(const wchar_t* name, WNDPROC procedure, const WindowClassLook& look) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof registered;
  if (::GetClassInfoExW(instance, name, &registered)) return instance;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = name;
  windowClass.hIcon = look.Icon;
  windowClass.hCursor = look.Cursor;
  windowClass.hbrBackground = look.Background;
  ::RegisterClassExW(&windowClass);
  return instance;
}
