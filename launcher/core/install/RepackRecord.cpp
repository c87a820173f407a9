#include "install/RepackRecord.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/UniqueFd.h"

namespace morvo {

void RecordPendingRepack(const std::string& programDir, const std::string& archivePath) {
  const std::string path = programDir + kRepackRecordFileName;
  const UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (!fd.IsOpen()) return;
  // Framed by line ends on both sides, so that even a torn earlier line cannot swallow this one.
  const std::string line = "\n" + archivePath + "\n";
  [[maybe_unused]] const ssize_t written = ::write(fd.Get(), line.data(), line.size());
}

std::vector<std::string> PendingRepacks(const std::string& programDir) {
  std::vector<std::string> archives;
  std::ifstream in(programDir + kRepackRecordFileName, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    // Only archives of this folder are repacked, whatever the record holds.
    const bool ours = line.starts_with(programDir) && line.find("/../") == std::string::npos;
    std::error_code error;
    if (ours && std::filesystem::is_regular_file(line, error) &&
        std::find(archives.begin(), archives.end(), line) == archives.end()) {
      archives.push_back(line);
    }
  }
  return archives;
}

void ClearPendingRepacks(const std::string& programDir) {
  ::unlink((programDir + kRepackRecordFileName).c_str());
}

}  // namespace morvo
