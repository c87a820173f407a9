#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/ProgramDir.h"

namespace {
// Writes are gathered so that many small chunks cost few system calls.
constexpr std::size_t kBufferSize = 256 * 1024;

// The rename itself reaches the disk with its folder.
void SyncFolderOf(const std::string& path) {
  const std::string folderPath = FolderOfPath(path).empty() ? "." : FolderOfPath(path);
  const int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath)
    : target_(std::move(targetPath)), temp_(target_ + ".MorvoTMP") {
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  }
}

bool AtomicFileWriter::Flush() {
  std::size_t done = 0;
  while (!failed_ && done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) failed_ = true;
    else done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return !failed_;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
  if (fd_ < 0 || failed_) return false;
  if (buffer_.size() + size > kBufferSize && !Flush()) return false;
  buffer_.append(static_cast<const char*>(data), size);
  return true;
}

bool AtomicFileWriter::Commit(mode_t mode, bool durable) {
  if (fd_ < 0 || !Flush()) return false;
  const bool modeSet = ::fchmod(fd_, mode) == 0 && (!durable || ::fsync(fd_) == 0);
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  const bool written = modeSet && closed;
  if (written && ::rename(temp_.c_str(), target_.c_str()) == 0) {
    if (durable) SyncFolderOf(target_);
    return true;
  }
  ::unlink(temp_.c_str());
  return false;
}

bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                           mode_t mode) {
  AtomicFileWriter writer(path);
  return writer.Write(bytes.data(), bytes.size()) && writer.Commit(mode, true);
}
