#include "AppendWriter.h"

#include <algorithm>

namespace vka {

void AppendWriter::moveTo(std::uint64_t position) {
  flush();
  end_ = position;
  sentToDisk_ = position;
}

bool AppendWriter::fits(std::uint64_t length) {
  if (end_ + length > kMaxArchiveSize) failed_ = true;
  return !failed_;
}

namespace {

// Below this, a copy goes through the buffer rather than the kernel.
constexpr std::uint64_t kKernelCopyMinimum = 256 * 1024;
// Written bytes go to the disk in steps of this size while the next ones are prepared; a
// kernel copy moves at most this much at once for the same reason.
constexpr std::uint64_t kWriteBackStep = 32u << 20;

}  // namespace

std::uint8_t* AppendWriter::space(std::size_t& room) {
  if (!settleCopy()) return nullptr;
  if (buffer_.empty()) buffer_.resize(kCopyBufferSize);
  if (staged_ == buffer_.size() && !flushBuffer()) return nullptr;
  room = buffer_.size() - staged_;
  return buffer_.data() + staged_;
}

void AppendWriter::commitSpace(std::size_t length) {
  if (!fits(length)) return;
  staged_ += length;
  end_ += length;
}

bool AppendWriter::append(const std::uint8_t* data, std::size_t length) {
  if (!fits(length)) return false;
  for (std::size_t done = 0; done < length;) {
    std::size_t room = 0;
    std::uint8_t* into = space(room);
    if (into == nullptr) return false;
    const std::size_t piece = std::min(room, length - done);
    std::copy_n(data + done, piece, into);
    commitSpace(piece);
    done += piece;
  }
  return !failed_;
}

bool AppendWriter::copyFrom(const FileHandle& source, std::uint64_t position,
                            std::uint64_t length) {
  if (!fits(length)) return false;
  const bool joins =
      copyLength_ > 0 && copySource_ == &source && copyFrom_ + copyLength_ == position;
  if (!joins) {
    if (!settleCopy()) return false;
    copySource_ = &source;
    copyFrom_ = position;
  }
  copyLength_ += length;
  end_ += length;
  return true;
}

bool AppendWriter::flush() {
  const bool written = settleCopy() && flushBuffer();
  window_.forget();
  return written;
}

bool AppendWriter::flushBuffer() {
  if (failed_) return false;
  if (staged_ == 0) return true;
  const std::uint64_t at = end_ - copyLength_ - staged_;
  if (!file_.writeAt(at, buffer_.data(), staged_)) failed_ = true;
  wrote(at + staged_);
  staged_ = 0;
  return !failed_;
}

bool AppendWriter::settleCopy() {
  if (failed_) return false;
  if (copyLength_ == 0) return true;
  const std::uint64_t to = end_ - copyLength_;
  std::uint64_t from = copyFrom_;
  std::uint64_t left = copyLength_;
  if (left >= kKernelCopyMinimum) {
    if (!flushBuffer()) return false;
    copyLength_ = 0;
    failed_ = !kernelCopy(from, to, left);
    return !failed_;
  }
  // Into the buffer, behind the bytes staged there.
  if (buffer_.empty()) buffer_.resize(kCopyBufferSize);
  while (left > 0) {
    if (staged_ == buffer_.size() && !flushBuffer()) return false;
    const std::size_t piece =
        static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer_.size() - staged_));
    if (!window_.read(*copySource_, from, buffer_.data() + staged_, piece)) {
      failed_ = true;
      return false;
    }
    staged_ += piece;
    copyLength_ -= piece;
    from += piece;
    left -= piece;
  }
  return true;
}

bool AppendWriter::kernelCopy(std::uint64_t from, std::uint64_t to, std::uint64_t length) {
  // Page cache to page cache; where the kernel cannot (another file system, an old
  // kernel), the bytes go through the buffer.
  while (length > 0) {
    const std::int64_t copied =
        file_.copyRangeFrom(*copySource_, from, to, std::min(length, kWriteBackStep));
    if (copied == 0) return false;  // the source ends early
    if (copied < 0) return copyThroughBuffer(from, to, length);
    from += static_cast<std::uint64_t>(copied);
    to += static_cast<std::uint64_t>(copied);
    length -= static_cast<std::uint64_t>(copied);
    wrote(to);
  }
  return true;
}

bool AppendWriter::copyThroughBuffer(std::uint64_t from, std::uint64_t to, std::uint64_t length) {
  if (buffer_.empty()) buffer_.resize(kCopyBufferSize);
  while (length > 0) {
    const std::size_t piece =
        static_cast<std::size_t>(std::min<std::uint64_t>(length, buffer_.size()));
    if (!copySource_->readAt(from, buffer_.data(), piece) ||
        !file_.writeAt(to, buffer_.data(), piece)) {
      return false;
    }
    from += piece;
    to += piece;
    length -= piece;
    wrote(to);
  }
  return true;
}

void AppendWriter::wrote(std::uint64_t upTo) {
  if (upTo < sentToDisk_ + kWriteBackStep) return;
  file_.startWriteBack(sentToDisk_, upTo - sentToDisk_);
  sentToDisk_ = upTo;
}

}  // namespace vka
