#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "FileSystem.h"

namespace vka {

namespace {

// Makes a rename itself durable; a failure here loses nothing, so it is not reported.
void syncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool sameFile(const char* first, const char* second) {
  struct stat a {
  }, b{};
  return ::stat(first, &a) == 0 && ::stat(second, &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

void removeRegularFile(const char* path) {
  struct stat status {};
  if (::lstat(path, &status) == 0 && S_ISREG(status.st_mode)) ::unlink(path);
}

bool replaceFile(const char* from, const char* to) {
  if (std::rename(from, to) != 0) return false;
  syncFolderOf(to);
  return true;
}

}  // namespace vka
