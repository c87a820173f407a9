#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "OwnerOnlyFile.h"
#include "platform/UniqueFd.h"

bool CreateOwnerOnlyFile(const std::string& path, std::string_view bytes, std::string& why) {
  // The mode is given at creation: the file never exists with more rights than 0600.
  morvo::UniqueFd fd(
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd.IsOpen()) {
    why = errno == EEXIST ? "exists already; it is never replaced" : std::strerror(errno);
    return false;
  }
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd.Get(), bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (!bytes.empty() || ::fsync(fd.Get()) != 0) {
    why = "cannot be written";
    ::unlink(path.c_str());
    return false;
  }
  return true;
}
