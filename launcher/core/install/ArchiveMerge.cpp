#include "install/ArchiveMerge.h"

#include <algorithm>
#include <filesystem>

#include "config/StatusMessages.h"
#include "install/RepackRecord.h"
#include "log/LogLines.h"
#include "platform/ArchiveCallPaths.h"
#include "platform/FileSystem.h"
#include "platform/GamePath.h"
#include "platform/ProgramDir.h"
#include "text/AsciiText.h"
#include "text/MessageFormat.h"
#include "vka/vka.h"

namespace morvo {

namespace {

// The library's progress procedures take no argument: this is the context of the one library
// call under way, set only for its duration.
PatchContext* gProgressContext = nullptr;

class ScopedProgressContext {
 public:
  explicit ScopedProgressContext(PatchContext& context) : previous_(gProgressContext) {
    gProgressContext = &context;
  }
  ~ScopedProgressContext() { gProgressContext = previous_; }
  ScopedProgressContext(const ScopedProgressContext&) = delete;
  ScopedProgressContext& operator=(const ScopedProgressContext&) = delete;

 private:
  PatchContext* previous_;
};

void ShowArchiveProgress(const std::string& status) {
  if (gProgressContext == nullptr) return;
  PatchWindow& window = gProgressContext->Window;
  PatchRunState& state = gProgressContext->State;
  window.SetStatusText(status);
  if (window.GaugeMaxValue() != state.ArchiveFileTotal)
    window.SetGaugeMaxValue(state.ArchiveFileTotal);
  ++state.ArchiveFilesDone;
  window.SetGaugeProgress(state.ArchiveFilesDone);
  window.ProcessPendingEvents();
}

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(FsPath(path), error));
}

// Both archives must be readable archives of the library's format before a merge.
bool CheckVersions(Logger& log, const ArchiveCallPaths& paths, const std::string& newArchive,
                   const std::string& destination) {
  if (VKA_CheckVersion(paths.Narrow(newArchive).c_str()) != VKA_FORMAT_VERSION ||
      VKA_CheckVersion(paths.Narrow(destination).c_str()) != VKA_FORMAT_VERSION) {
    log.LogLine(loglines::kVersionCheckError);
    return false;
  }
  log.LogLine(loglines::kVersionCheckDone);
  return true;
}

// The library leaves the destination as it was when the merge fails.
bool Merge(PatchContext& context, const ArchiveCallPaths& paths, const std::string& newArchive,
           const std::string& destination, const std::string& newName,
           const std::string& destinationName) {
  Logger& log = context.Log;
  PatchRunState& state = context.State;
  state.ArchiveShownName = newName.substr(std::min(newName.size(), std::size_t{12}), 256);
  state.ArchiveTargetName = destinationName;
  state.ArchiveFileTotal = VKA_GetFileCount(paths.Narrow(newArchive).c_str());
  state.ArchiveFilesDone = 0;
  log.LogFormat(loglines::kMerge, {newName, destinationName});
  // Recorded before the merge: if the run dies from here on, the next start repacks it.
  RecordPendingRepack(context.ProgramDir, destination);
  ScopedProgressContext progress(context);
  if (VKA_Fusion(paths.Narrow(newArchive).c_str(), paths.Narrow(destination).c_str(),
                 MergeProgress) != VKA_OK) {
    log.LogLine(loglines::kMergeError);
    return false;
  }
  log.LogLine(loglines::kMergeDone);
  state.MergedArchives.push_back(destination);
  return true;
}

}  // namespace

bool IsArchiveFile(std::string_view name) {
  const std::string_view file = WindowsFileName(name);
  const auto dot = file.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string extension = AsciiLower(file.substr(dot));
  return extension == ".vka" || extension == ".vkd";
}

void RemoveDuplicateArchives(PatchRunState& state) {
  std::vector<std::string> unique;
  for (std::string& path : state.MergedArchives) {
    // One archive under two spellings (letter case, where the file system ignores it) is one.
    const auto same = [&](const std::string& kept) { return kept == path || SameFile(kept, path); };
    if (std::none_of(unique.begin(), unique.end(), same)) {
      unique.push_back(std::move(path));
    }
  }
  state.MergedArchives = std::move(unique);
}

bool MergeArchive(PatchContext& context, const std::string& newArchive,
                  const std::string& destination) {
  Logger& log = context.Log;
  const std::string newName = ShownFileName(newArchive);
  const std::string destinationName = ShownFileName(destination);

  if (!Exists(destination)) {
    EnsureFolderOf(destination);
    log.LogFormat(loglines::kArchiveCopy, {newName, destinationName});
    if (RenameFile(newArchive, destination)) return true;
    log.LogLine(loglines::kArchiveCopyError);
    RemoveFile(newArchive);
    return false;
  }

  log.LogFormat(loglines::kVersionCheck, {newName, destinationName});
  const ArchiveCallPaths paths(context.ProgramDir);
  const bool merged = CheckVersions(log, paths, newArchive, destination) &&
                      Merge(context, paths, newArchive, destination, newName, destinationName);
  RemoveFile(newArchive);
  return merged;
}

void MergeProgress() {
  if (gProgressContext == nullptr) return;
  const PatchRunState& state = gProgressContext->State;
  ShowArchiveProgress(FormatMessage(
      StatusText(gProgressContext->Settings, StatusMessage::MergeProgress) + " %s > %s ...",
      {state.ArchiveShownName, state.ArchiveTargetName}));
}

void RepackProgress() {
  if (gProgressContext == nullptr) return;
  ShowArchiveProgress(FormatMessage(
      StatusText(gProgressContext->Settings, StatusMessage::RepackProgress) + " %s ...",
      {gProgressContext->State.ArchiveShownName}));
}

void RepackArchives(PatchContext& context, const std::vector<std::string>& archives) {
  if (archives.empty()) return;
  Logger& log = context.Log;
  PatchRunState& state = context.State;
  log.LogLine(loglines::kRepack);
  const ArchiveCallPaths paths(context.ProgramDir);
  for (const std::string& archive : archives) {
    state.ArchiveShownName = ShownFileName(archive);
    state.ArchiveFileTotal = VKA_GetFileCount(paths.Narrow(archive).c_str());
    state.ArchiveFilesDone = 0;
    ScopedProgressContext progress(context);
    const bool repacked =
        VKA_Repack(paths.Narrow(archive).c_str(), paths.Narrow(state.RepackTempPath).c_str(),
                   RepackProgress) == VKA_OK;
    log.LogFormat(repacked ? loglines::kRepackSuccess : loglines::kRepackError,
                  {state.ArchiveShownName, state.ArchiveFileTotal});
  }
  log.LogLine(loglines::kRepackDone);
}

}  // namespace morvo
