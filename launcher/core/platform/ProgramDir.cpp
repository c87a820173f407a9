#include "platform/ProgramDir.h"

#include <filesystem>

#include "platform/FileSystem.h"

namespace morvo {

std::string ProgramDir() {
  const std::string folder = FolderOfPath(ProgramPath());
  return folder.empty() ? std::string(".") + kFolderSeparators[0] : folder;
}

std::string FileNameOfPath(const std::string& path) {
  const auto separator = path.find_last_of(kFolderSeparators);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderOfPath(const std::string& path) {
  const auto separator = path.find_last_of(kFolderSeparators);
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

bool EnsureFolderOf(const std::string& path) {
  const auto separator = path.find_last_of(kFolderSeparators);
  if (separator == std::string::npos || separator == 0) return true;
  const std::filesystem::path folder = FsPath(path.substr(0, separator));
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

}  // namespace morvo
