#include "ReadWindow.h"

#include <algorithm>
#include <cstring>

namespace vka {

bool ReadWindow::read(const FileHandle& source, std::uint64_t position, std::uint8_t* into,
                      std::size_t count) {
  if (count == 0) return true;
  if (count > kReadWindowMaximum) return source.readAt(position, into, count);
  if (!holds(source, position, count) && !load(source, position, count)) return false;
  std::memcpy(into, bytes_.data() + (position - start_), count);
  served_ += count;
  return true;
}

void ReadWindow::forget() {
  source_ = nullptr;
  length_ = 0;
  served_ = 0;
}

bool ReadWindow::holds(const FileHandle& source, std::uint64_t position, std::size_t count) const {
  return &source == source_ && position >= start_ && position + count <= start_ + length_;
}

bool ReadWindow::load(const FileHandle& source, std::uint64_t position, std::size_t count) {
  if (&source != source_) {
    forget();
    const std::int64_t size = source.size();
    if (size < 0) return false;
    source_ = &source;
    sourceSize_ = static_cast<std::uint64_t>(size);
  }
  if (position > sourceSize_ || count > sourceSize_ - position) return false;
  // A window mostly used grows; one mostly skipped shrinks.
  if (length_ > 0) {
    span_ = served_ * 2 >= length_ ? std::min(span_ * 2, kReadWindowMaximum)
                                   : std::max(span_ / 2, kReadWindowMinimum);
  }
  const std::size_t span = std::max(span_, count);
  // Reading backwards (each range before the last window), the window ends where the range
  // does; otherwise it starts there.
  const bool backwards = length_ > 0 && position < start_;
  std::uint64_t start = position;
  if (backwards) start = position + count > span ? position + count - span : 0;
  const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(span, sourceSize_ - start));
  if (bytes_.size() < kReadWindowMaximum) bytes_.resize(kReadWindowMaximum);
  length_ = 0;
  served_ = 0;
  if (!source.readAt(start, bytes_.data(), length)) return false;
  start_ = start;
  length_ = length;
  return true;
}

}  // namespace vka
