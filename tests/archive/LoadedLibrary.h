// The shipped archive library loaded by path, as any C caller loads it, its exports found by
// name. LoadedLibraryPosix.cpp (dlopen) and LoadedLibraryWin32.cpp (LoadLibrary).
#pragma once

#include <string>

namespace vka::test {

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* path);
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // Why loading failed, in the platform's words.
  const std::string& error() const { return error_; }
  template <typename Function>
  Function find(const char* name) const {
    return reinterpret_cast<Function>(address(name));
  }

 private:
  void* address(const char* name) const;
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace vka::test
