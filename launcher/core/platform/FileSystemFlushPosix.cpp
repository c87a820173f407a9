#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "platform/FileSystemFlush.h"

namespace morvo {

namespace {

// The file systems whose flush of the whole file system commits their journal (or has nothing
// to commit) and empties the disk's cache. A user-space file system never sees that flush, and
// one without a journal may leave its folder entries in the device's cache: they are flushed
// file by file instead.
bool FlushesWholeFileSystem(int fd) {
  struct statfs info {};
  if (::fstatfs(fd, &info) != 0) return false;
  switch (static_cast<unsigned long>(info.f_type)) {
    case EXT4_SUPER_MAGIC:  // ext2, ext3 and ext4 share it
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
      return true;
    default:
      return false;
  }
}

std::uint64_t DeviceOf(const std::string& folder) {
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 ? info.st_dev : 0;
}

}  // namespace

FileSystemFlush::FileSystemFlush(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (!FlushesWholeFileSystem(fd) || ::fstat(fd, &info) != 0) {
    ::close(fd);
    return;
  }
  handle_ = fd;
  device_ = info.st_dev;
}

FileSystemFlush::~FileSystemFlush() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool FileSystemFlush::Covers(const std::string& folder) const {
  return handle_ >= 0 && DeviceOf(folder.empty() ? "." : folder) == device_;
}

bool FileSystemFlush::Flush() const {
  // The flush of the folder afterwards empties the disk's cache once more: ext4 without a journal
  // empties it before the last of the folder blocks that syncfs writes have landed.
  const int fd = static_cast<int>(handle_);
  return fd >= 0 && ::syncfs(fd) == 0 && ::fsync(fd) == 0;
}

}  // namespace morvo
