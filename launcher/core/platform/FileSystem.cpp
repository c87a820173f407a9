#include "platform/FileSystem.h"

namespace morvo {

std::filesystem::path FsPath(const std::string& utf8Path) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8Path.data()), utf8Path.size()));
}

std::string Utf8Path(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(reinterpret_cast<const char*>(utf8.data()), utf8.size());
}

}  // namespace morvo
