// The patch engine's state for one run of the program.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/TemporaryNames.h"
#include "platform/Sha256.h"

namespace morvo {

inline constexpr char kRegisterFileName[] = "MorvoPatchsList.ini";

struct PatchRunState {
  // Engine start: the three fixed paths in programDir (which ends in '/'), ListPhase true.
  explicit PatchRunState(const std::string& programDir);

  bool ListPhase = true;
  // The one download status object (cstatus_callback) belongs to the run, which outlives it.
  std::vector<std::string> ServerEntries;     // "key=value" of the server list's [patchs]
  std::vector<std::string> InstalledEntries;  // "key=value" of the register's [patchs]
  std::vector<std::string> DownloadUrls;      // in download order
  std::vector<std::string> InstallFiles;      // full paths of containers, in install order
  std::vector<std::string> MergedArchives;    // full paths of archives that received a merge
  // The server list's [sha256] digests by patch name (FileNameOfUrl of the patch's URL, the
  // register's key); a name whose line is malformed or contradicted has none.
  std::map<std::string, Sha256Digest> ServerDigests;
  std::int32_t DownloadsStarted = 0;
  std::int32_t LastDownloadIndex = 0;
  bool DenyPlay = false;
  std::string RegisterPath;
  std::string ServerListPath;
  std::string RepackTempPath;
  std::uint32_t SampleBytes = 0;
  std::uint32_t SampleTick = 0;
  float SpeedKiBps = 0.0f;
  std::string ArchiveShownName;
  std::string ArchiveTargetName;
  std::int32_t ArchiveFileTotal = 0;
  std::int32_t ArchiveFilesDone = 0;
  bool ConfigReplaced = false;
  // A new launcher copy stays for the next start: the program's path cannot be handed to it.
  bool SelfUpdateDeferred = false;
};

}  // namespace morvo
