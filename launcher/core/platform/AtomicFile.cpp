#include "platform/AtomicFile.h"

#include <algorithm>
#include <utility>

#include "engine/TemporaryNames.h"
#include "platform/FileSystem.h"

namespace morvo {

namespace {
// Writes are gathered so that many small chunks cost few system calls.
constexpr std::size_t kBufferSize = 256 * 1024;
// A smaller file's write-back is left to the flush that follows: started at once, it costs a
// disk request of its own in the writing thread, where the flushes serve many files together.
constexpr std::int64_t kEarlyWriteBackSize = 1024 * 1024;
}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : target_(std::move(targetPath)), temp_(target_ + kAtomicWriteSuffix) {
  // The file is created exclusively: a link planted under the temporary name, symbolic or hard,
  // is never written through. What an interrupted attempt left is removed first, only when there
  // is one, so that the usual case costs no call.
  file_ = NativeFile::CreateNew(temp_);
  if (!file_.IsOpen() && RemoveFile(temp_)) file_ = NativeFile::CreateNew(temp_);
  buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (file_.IsOpen()) {
    file_.Close();
    RemoveFile(temp_);
  }
}

bool AtomicFileWriter::Flush() {
  if (!failed_ && !file_.WriteAll(buffer_.data(), buffer_.size())) failed_ = true;
  size_ += static_cast<std::int64_t>(buffer_.size());
  buffer_.clear();
  return !failed_;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
  if (!file_.IsOpen() || failed_) return false;
  if (buffer_.size() + size > kBufferSize && !Flush()) return false;
  buffer_.append(static_cast<const char*>(data), size);
  return true;
}

std::size_t AtomicFileWriter::CopyThroughBuffer(NativeFile& source, std::size_t size) {
  char chunk[64 * 1024];
  std::size_t done = 0;
  while (done < size) {
    const std::int64_t n = source.Read(chunk, std::min(sizeof chunk, size - done));
    if (n <= 0 || !Write(chunk, static_cast<std::size_t>(n))) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t AtomicFileWriter::CopyFrom(NativeFile& source, std::size_t size) {
  if (!file_.IsOpen() || failed_ || !Flush()) return 0;
  const KernelCopy copy = file_.CopyInKernel(source, size);
  size_ += static_cast<std::int64_t>(copy.Copied);
  if (copy.Failed) failed_ = true;
  // A file system that cannot copy by itself: the rest goes through user space.
  if (copy.Unsupported) return copy.Copied + CopyThroughBuffer(source, size - copy.Copied);
  return copy.Copied;
}

bool AtomicFileWriter::Commit(unsigned mode, bool durable, const Replacer& replace) {
  if (!file_.IsOpen() || !Flush()) return false;
  const bool modeSet = file_.SetPermissions(mode) && (!durable || file_.FlushToDisk());
  // Not flushed now: the writer flushes it later with others, and waits less for it then.
  if (!durable && size_ >= kEarlyWriteBackSize) file_.StartWriteBack();
  const bool closed = file_.Close();
  const bool placed = modeSet && closed &&
                      (replace ? replace(temp_, target_) : RenameFile(temp_, target_, durable));
  if (placed) return true;
  RemoveFile(temp_);
  return false;
}

bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                           unsigned mode) {
  AtomicFileWriter writer(path);
  return writer.Write(bytes.data(), bytes.size()) && writer.Commit(mode, true);
}

}  // namespace morvo
