#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

namespace morvo {

namespace {

// The rename itself reaches the disk with its folder.
void SyncFolderOf(const std::string& path) {
  const std::string folderPath = FolderOfPath(path).empty() ? "." : FolderOfPath(path);
  const int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return;
  ::fsync(folder);
  ::close(folder);
}

}  // namespace

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

bool RenameFile(const std::string& from, const std::string& to, bool durable) {
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  if (durable) SyncFolderOf(to);
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
