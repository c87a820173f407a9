// Move-only owners of the Windows handles the downloader opens: each closes its handle once,
// when it goes away, so no early return leaks one.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <utility>

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

// A kernel object (file, event).
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle)
      : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~UniqueHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      if (handle_ != nullptr) CloseHandle(handle_);
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  explicit operator bool() const { return handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace morvo
