// Move-only owner of the HTTP client's handles (kernel objects have UniqueHandle): each closes its
// handle once, when it goes away, so no early return leaks one.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <utility>

#include "platform/UniqueHandle.h"

namespace morvo {

// A session, connection or request handle of the HTTP client.
class UniqueInternet {
 public:
  UniqueInternet() = default;
  explicit UniqueInternet(HINTERNET handle) : handle_(handle) {}
  ~UniqueInternet() { Reset(); }
  UniqueInternet(const UniqueInternet&) = delete;
  UniqueInternet& operator=(const UniqueInternet&) = delete;
  UniqueInternet(UniqueInternet&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueInternet& operator=(UniqueInternet&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  explicit operator bool() const { return handle_ != nullptr; }
  HINTERNET Get() const { return handle_; }
  void Reset() {
    if (handle_ != nullptr) WinHttpCloseHandle(std::exchange(handle_, nullptr));
  }

 private:
  HINTERNET handle_ = nullptr;
};

}  // namespace morvo
