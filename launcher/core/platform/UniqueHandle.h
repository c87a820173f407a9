// The owner of a Windows kernel handle (process, snapshot, file opened for its identity):
// closes it once, moves but never copies. Included by ...Win32.cpp files only.
#pragma once

#include <windows.h>

#include <utility>

namespace morvo {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  // Takes handle; both null and INVALID_HANDLE_VALUE mean none, as the calls return either.
  explicit UniqueHandle(HANDLE handle)
      : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~UniqueHandle() {
    if (handle_ != nullptr) ::CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      if (handle_ != nullptr) ::CloseHandle(handle_);
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  bool IsOpen() const { return handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace morvo
