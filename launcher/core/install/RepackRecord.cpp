#include "install/RepackRecord.h"

#include <algorithm>
#include <fstream>

#include "platform/FileSystem.h"
#include "platform/NativeFile.h"

namespace morvo {

void RecordPendingRepack(const std::string& programDir, const std::string& archivePath) {
  const std::string path = programDir + kRepackRecordFileName;
  NativeFile file = NativeFile::OpenToAppend(path);
  if (!file.IsOpen()) return;
  // Framed by line ends on both sides, so that even a torn earlier line cannot swallow this one.
  const std::string line = "\n" + archivePath + "\n";
  // On the disk before the container that merged into the archive is deleted: after a power
  // cut the repack is still known to be due.
  if (file.WriteAll(line.data(), line.size())) file.FlushToDisk();
}

std::vector<std::string> PendingRepacks(const std::string& programDir) {
  std::vector<std::string> archives;
  std::ifstream in(FsPath(programDir + kRepackRecordFileName), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    // Only archives of this folder are repacked, whatever the record holds.
    const bool ours = line.starts_with(programDir) && line.find("/../") == std::string::npos &&
                      line.find("\\..\\") == std::string::npos;
    if (ours && IsRegularFile(line) &&
        std::find(archives.begin(), archives.end(), line) == archives.end()) {
      archives.push_back(line);
    }
  }
  return archives;
}

void ClearPendingRepacks(const std::string& programDir) {
  RemoveFile(programDir + kRepackRecordFileName);
}

}  // namespace morvo
