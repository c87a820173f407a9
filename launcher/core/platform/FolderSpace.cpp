#include "platform/FolderSpace.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr char kProbeFileName[] = "MorvoTMPWriteCheck";

}  // namespace

bool CanWriteInFolder(const std::string& folder) {
  const std::string probe = folder + kProbeFileName;
  ::unlink(probe.c_str());  // what a killed earlier check left
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

std::optional<std::uint64_t> FreeBytesInFolder(const std::string& folder) {
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}
