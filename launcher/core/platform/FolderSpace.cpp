#include "platform/FolderSpace.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "platform/UniqueFd.h"

namespace morvo {

bool CanWriteInFolder(const std::string& folder, std::string_view probeName) {
  const std::string probe = folder + std::string(probeName);
  ::unlink(probe.c_str());  // what a killed earlier check left
  UniqueFd file(::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!file.IsOpen()) return false;
  file.Reset();
  ::unlink(probe.c_str());
  return true;
}

std::optional<std::uint64_t> FreeBytesInFolder(const std::string& folder) {
  struct statvfs info {};
  if (::statvfs(folder.c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

}  // namespace morvo
