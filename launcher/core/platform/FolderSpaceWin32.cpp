#include <windows.h>

#include "platform/FolderSpace.h"
#include "platform/WideText.h"

namespace morvo {

std::optional<std::uint64_t> FreeBytesInFolder(const std::string& folder) {
  // The bytes this user may use, quotas included.
  ULARGE_INTEGER available{};
  if (!::GetDiskFreeSpaceExW(Widen(folder).c_str(), &available, nullptr, nullptr)) {
    return std::nullopt;
  }
  return available.QuadPart;
}

}  // namespace morvo
