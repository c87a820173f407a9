#include <dlfcn.h>

#include "LoadedLibrary.h"

namespace vka::test {

LoadedLibrary::LoadedLibrary(const char* path) : handle_(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
  if (handle_ == nullptr) error_ = ::dlerror();
}

LoadedLibrary::~LoadedLibrary() {
  if (handle_ != nullptr) ::dlclose(handle_);
}

void* LoadedLibrary::address(const char* name) const { return ::dlsym(handle_, name); }

}  // namespace vka::test
