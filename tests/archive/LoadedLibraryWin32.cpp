#include <windows.h>

#include "LoadedLibrary.h"

namespace vka::test {

LoadedLibrary::LoadedLibrary(const char* path) : handle_(LoadLibraryA(path)) {
  if (handle_ == nullptr) error_ = "LoadLibrary failed, error " + std::to_string(GetLastError());
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LoadedLibrary::address(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace vka::test
