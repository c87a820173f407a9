// COM on the calling thread for the life of one object. The caller may have initialised it
// already (S_FALSE, balanced all the same) or in the other apartment model (a failure that
// leaves COM usable and must not be balanced). Included by ...Win32.cpp files only.
#pragma once

#include <objbase.h>

class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};
