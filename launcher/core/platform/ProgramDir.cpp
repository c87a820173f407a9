#include "platform/ProgramDir.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

namespace morvo {

std::string ProgramPath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramDir() {
  const std::string folder = FolderOfPath(ProgramPath());
  return folder.empty() ? std::string("./") : folder;
}

std::string FileNameOfPath(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOfPath(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool EnsureFolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return true;
  std::error_code error;
  std::filesystem::create_directories(path.substr(0, slash), error);
  return std::filesystem::is_directory(path.substr(0, slash), error);
}

}  // namespace morvo
