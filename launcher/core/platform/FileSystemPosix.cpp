#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

namespace morvo {

namespace {

bool OpenAndSync(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

}  // namespace

bool FlushFileAt(const std::string& path) { return OpenAndSync(path, O_RDONLY | O_NOFOLLOW); }

bool FlushFolder(const std::string& folder) {
  return OpenAndSync(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

bool RenameFile(const std::string& from, const std::string& to, bool durable) {
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  // The rename itself reaches the disk with its folder; failing that loses nothing already
  // renamed, so it is not reported.
  if (durable) FlushFolder(FolderOfPath(to));
  return true;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsRunnableFile(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         (info.st_mode & S_IXUSR) != 0;
}

std::optional<unsigned> PermissionBits(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return info.st_mode & 07777;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat left {};
  struct stat right {};
  return ::stat(a.c_str(), &left) == 0 && ::stat(b.c_str(), &right) == 0 &&
         left.st_dev == right.st_dev && left.st_ino == right.st_ino;
}

bool IsFileInUse(const std::string&) { return false; }

}  // namespace morvo
