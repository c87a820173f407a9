#include "ChildWindowClass.h"

HINSTANCE RegisterChildWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof registered;
  if (::GetClassInfoExW(instance, name, &registered)) return instance;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = name;
  windowClass.hbrBackground = background;
  ::RegisterClassExW(&windowClass);
  return instance;
}
