#include "download/StallWatch.h"

#include <algorithm>

namespace morvo {

StallWatch::StallWatch(const DownloadOptions& options)
    : window_(std::max(options.LowSpeedSeconds, 0L)),
      minimumBytes_(static_cast<std::uint64_t>(std::max(options.LowSpeedBytesPerSecond, 0L)) *
                    static_cast<std::uint64_t>(window_.count())),
      windowStart_(Clock::now()) {}

bool StallWatch::Stalled(std::uint64_t received, Clock::time_point now) {
  if (window_.count() <= 0 || now - windowStart_ < window_) return false;
  const bool moved = received < windowStartBytes_ || received - windowStartBytes_ >= minimumBytes_;
  windowStart_ = now;
  windowStartBytes_ = received;
  return !moved;
}

void StallWatch::Report(BindStatusCallback& callback, std::uint64_t received,
                        std::uint64_t expected) {
  const auto before = Clock::now();
  callback.OnProgress(received, expected);
  windowStart_ += Clock::now() - before;
}

}  // namespace morvo
