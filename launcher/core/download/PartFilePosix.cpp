#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "download/PartFile.h"
#include "engine/TemporaryNames.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

namespace morvo {

namespace {

// The body goes to the disk in pieces of this size while it arrives, so that the flush when it
// is complete has little left to wait for.
constexpr std::uint64_t kWriteBackPiece = 8u << 20;

}  // namespace

PartFile::PartFile(std::string targetPath)
    : targetPath_(std::move(targetPath)), partPath_(targetPath_ + kDownloadPartSuffix) {
  file_ = ::open(partPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

PartFile::~PartFile() {
  Close();
  if (!committed_) std::remove(partPath_.c_str());
}

bool PartFile::Close() {
  const auto fd = static_cast<int>(std::exchange(file_, kNoFile));
  return fd < 0 || ::close(fd) == 0;
}

bool PartFile::Append(const char* data, std::size_t size) {
  // A write that fails fails the download: the hash never describes a body kept on disk.
  Hash(data, size);
  const auto fd = static_cast<int>(file_);
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
    size_ += static_cast<std::uint64_t>(written);
  }
  if (size_ - writeBackFrom_ >= kWriteBackPiece) {
    ::sync_file_range(fd, static_cast<off_t>(writeBackFrom_),
                      static_cast<off_t>(size_ - writeBackFrom_), SYNC_FILE_RANGE_WRITE);
    writeBackFrom_ = size_;
  }
  return true;
}

bool PartFile::Truncate() {
  const auto fd = static_cast<int>(file_);
  if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) return false;
  size_ = 0;
  if (hash_) hash_.emplace();
  writeBackFrom_ = 0;
  return true;
}

bool PartFile::Commit() {
  if (!IsOpen() || ::fsync(static_cast<int>(file_)) != 0 || !Close()) return false;
  if (!RenameFile(partPath_, targetPath_, true)) return false;
  committed_ = true;
  return true;
}

void PartFile::RemoveTarget(const std::string& targetPath) { std::remove(targetPath.c_str()); }

}  // namespace morvo
