// The one owner of a file descriptor in the core: closes it when the owner goes away, moves but
// never copies, so no descriptor is closed twice or leaked on an early return.
#pragma once

#include <unistd.h>

#include <utility>

namespace morvo {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  bool IsOpen() const { return fd_ >= 0; }
  int Get() const { return fd_; }
  // Gives the descriptor up without closing it; the owner is then empty.
  int Release() { return std::exchange(fd_, -1); }
  // Closes the descriptor held, if any, and takes fd. False when that close failed, which for a
  // file just written means its data may not have reached the disk.
  bool Reset(int fd = -1) {
    const int old = std::exchange(fd_, fd);
    return old < 0 || ::close(old) == 0;
  }

 private:
  int fd_ = -1;
};

}  // namespace morvo
