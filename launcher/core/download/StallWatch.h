// Tells a stalled transfer from a slow one: fewer than LowSpeedBytesPerSecond bytes per second
// over the last LowSpeedSeconds of time in which the transfer could move.
#pragma once

#include <chrono>
#include <cstdint>

#include "download/BindStatusCallback.h"
#include "download/Downloader.h"

namespace morvo {

class StallWatch {
 public:
  using Clock = std::chrono::steady_clock;

  // The first window starts now.
  explicit StallWatch(const DownloadOptions& options);

  // True when the window that ends at now saw too few bytes; a new window starts then. A body
  // that starts over (received drops) has moved as well.
  bool Stalled(std::uint64_t received, Clock::time_point now);
  // Calls the receiver's OnProgress. The receiver may run a modal window from there (the
  // player's About box): the transfer could not move meanwhile, so that time is not counted.
  void Report(BindStatusCallback& callback, std::uint64_t received, std::uint64_t expected);

 private:
  std::chrono::seconds window_;
  std::uint64_t minimumBytes_;
  Clock::time_point windowStart_;
  std::uint64_t windowStartBytes_ = 0;
};

}  // namespace morvo
