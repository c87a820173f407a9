#include "install/FilesInUse.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <span>
#include <string_view>
#include <vector>

#include "engine/TemporaryNames.h"
#include "log/LogLines.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/GamePath.h"
#include "platform/ProgramDir.h"

namespace morvo {

namespace {

// One file put aside, both paths relative to the program folder.
struct PutAside {
  std::string Aside;
  std::string Target;
};

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::symlink_status(FsPath(path), error).type() !=
         std::filesystem::file_type::not_found;
}

// A record line names files inside the program folder only, and the aside one by our prefix:
// whatever the record says, nothing else is ever deleted or renamed.
bool StaysInside(std::string_view relative) {
  if (relative.empty()) return false;
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t end =
        std::min(relative.find_first_of(kFolderSeparators, start), relative.size());
    const std::string_view part = relative.substr(start, end - start);
    if (part.empty() || part == "." || part == ".." || part.find(':') != std::string_view::npos) {
      return false;
    }
    start = end + 1;
  }
  return true;
}

bool IsUsable(const PutAside& entry) {
  return StaysInside(entry.Aside) && StaysInside(entry.Target) &&
         FileNameOfPath(entry.Aside).starts_with(kInUseAsidePrefix);
}

std::vector<PutAside> ReadRecord(const std::string& path) {
  std::ifstream record(FsPath(path), std::ios::binary);
  std::vector<PutAside> entries;
  for (std::string line; std::getline(record, line);) {
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) entries.push_back({line.substr(0, tab), line.substr(tab + 1)});
  }
  return entries;
}

bool WriteRecord(const std::string& path, const std::vector<PutAside>& entries) {
  if (entries.empty()) return RemoveFile(path);
  std::string text;
  for (const PutAside& entry : entries) text += entry.Aside + '\t' + entry.Target + '\n';
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return ReplaceFileAtomically(path, std::span<const std::uint8_t>(bytes, text.size()));
}

// A name in folder that nothing has: the prefix and the first free number.
std::string FreeAsideName(const std::string& folder) {
  for (unsigned n = 1;; ++n) {
    std::string candidate = folder + kInUseAsidePrefix + std::to_string(n);
    if (!Exists(candidate)) return candidate;
  }
}

}  // namespace

std::optional<std::string> ReplaceMovingAside(const std::string& programDir,
                                              const std::string& temp, const std::string& target) {
  if (!target.starts_with(programDir) || target.size() == programDir.size()) return std::nullopt;
  const std::string recordPath = programDir + kInUseRecordFileName;
  const std::string aside = FreeAsideName(FolderOfPath(target));
  std::vector<PutAside> entries = ReadRecord(recordPath);
  entries.push_back({aside.substr(programDir.size()), target.substr(programDir.size())});
  if (!WriteRecord(recordPath, entries)) return std::nullopt;

  if (RenameFile(target, aside, true)) {
    if (RenameFile(temp, target, true)) return aside;
    // The old file goes back; if even that fails, the record lets the next start do it.
    if (!RenameFile(aside, target, true)) return std::nullopt;
  }
  entries.pop_back();
  WriteRecord(recordPath, entries);
  return std::nullopt;
}

bool PutInPlace(PatchContext& context, const std::string& temp, const std::string& target) {
  if (RenameFile(temp, target)) return true;
  if (!IsFileInUse(target)) return false;
  const auto aside = ReplaceMovingAside(context.ProgramDir, temp, target);
  if (!aside) return false;
  context.Log.LogFormat(loglines::kEntryInUse, {ShownFileName(target), ShownFileName(*aside)});
  return true;
}

void ClearFilesPutAside(const std::string& programDir) {
  const std::string recordPath = programDir + kInUseRecordFileName;
  if (!Exists(recordPath)) return;
  std::vector<PutAside> kept;
  for (const PutAside& entry : ReadRecord(recordPath)) {
    if (!IsUsable(entry)) continue;
    const std::string aside = programDir + entry.Aside;
    const std::string target = programDir + entry.Target;
    if (!Exists(aside)) continue;
    // A crash between the two renames left the place empty: the old file goes back, and the
    // container, still there, is installed again.
    const bool done =
        Exists(target) ? RemoveFile(aside) : RenameFile(aside, target, /*durable=*/true);
    if (!done) kept.push_back(entry);
  }
  WriteRecord(recordPath, kept);
}

}  // namespace morvo
