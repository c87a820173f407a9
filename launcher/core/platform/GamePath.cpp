#include "platform/GamePath.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "engine/OwnFiles.h"
#include "platform/FileSystem.h"
#include "platform/GamePathEntry.h"
#include "platform/PlainName.h"
#include "platform/ProgramDir.h"
#include "text/Windows1252.h"

namespace morvo {

namespace fs = std::filesystem;

namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The parts of name, or nullopt when one of them is unsafe. "." parts are dropped; the first
// part must not be one of the launcher's own files, nor any part a file put aside (links to
// the root are looked at in ResolveGamePath).
std::optional<std::vector<std::string_view>> SplitSafeParts(std::string_view name) {
  std::vector<std::string_view> parts;
  while (true) {
    const auto separator = name.find_first_of("\\/");
    const std::string_view part = name.substr(0, separator);
    if (part != ".") {
      if (!IsPlainName(part) || IsPutAsideName(part)) return std::nullopt;
      parts.push_back(part);
    }
    if (separator == std::string_view::npos) break;
    name.remove_prefix(separator + 1);
  }
  if (parts.empty() || IsOwnFileName(parts.front())) return std::nullopt;
  return parts;
}

}  // namespace

std::optional<std::string> ResolveGamePath(const std::string& root, std::string_view name,
                                           FolderListings* listings, bool* exists) {
  const auto parts = SplitSafeParts(name);
  if (!parts) return std::nullopt;
  std::error_code error;
  FolderListings ownListings;
  FolderListings& listed = listings != nullptr ? *listings : ownListings;
  if (!listed.KnownToExist(root)) {
    if (!fs::is_directory(FsPath(root), error)) return std::nullopt;
    listed.Exists(root);
  }

  std::string path = root;
  bool found = true;
  for (std::size_t i = 0; i < parts->size(); ++i) {
    const std::string part = Windows1252ToUtf8((*parts)[i]);
    const bool last = i + 1 == parts->size();
    // A new file among many in a listed folder: the listing answers without a call. Only for
    // the last part, which is replaced by a rename that never follows a link put there since.
    if (found && last && listed.Lacks(path, part)) found = false;
    if (found) {
      const std::string entry = MatchingEntry(path, part, found, listed);
      // The entry's own name, which another name of it (a short one) may have hidden.
      if (found && (i == 0 ? IsOwnFileName(entry) : IsPutAsideName(entry))) return std::nullopt;
      path += entry;
      // A link planted in the game folder must not carry writes out of it.
      if (found && LinkLeavesFolder(path, root)) return std::nullopt;
    } else {
      path += part;
    }
    if (!last) path += kFolderSeparators[0];
  }
  // A link inside the game folder that leads back to it must not reach the launcher's files.
  if (parts->size() > 1 && IsOwnFileName(FileNameOfPath(path))) {
    const fs::path canonicalRoot = fs::canonical(FsPath(root), error);
    const fs::path folder = fs::weakly_canonical(FsPath(path).parent_path(), error);
    if (error || folder == canonicalRoot) return std::nullopt;
  }
  if (exists != nullptr) *exists = found;
  return path;
}

bool LiesDirectlyIn(const std::string& path, const std::string& folder) {
  const fs::path file = FsPath(path);
  std::error_code error;
  // A link, even one that leads nowhere yet, is not a file of the folder: writing through it
  // would create or change its target.
  if (fs::is_symlink(fs::symlink_status(file, error))) return false;
  const fs::path root = fs::canonical(FsPath(folder), error);
  if (error) return false;
  const fs::path parent = fs::weakly_canonical(file.parent_path(), error);
  return !error && parent == root;
}

bool IsSafeDestination(std::string_view name) { return SplitSafeParts(name).has_value(); }

std::string_view WindowsFileName(std::string_view path) {
  const auto separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string ShownFileName(const std::string& path) {
  std::string name = FileNameOfPath(path);
  return Utf8ToWindows1252(name).value_or(name);
}

std::string WithoutControls(std::string_view name) {
  std::string shown(name);
  for (char& c : shown) {
    if (IsControl(c)) c = '?';
  }
  return shown;
}

std::string SettingsFilePath(const std::string& programDir, std::string_view windows1252Name) {
  if (std::optional<std::string> resolved = ResolveGamePath(programDir, windows1252Name)) {
    return *resolved;
  }
  std::string name = Windows1252ToUtf8(windows1252Name);
  std::replace(name.begin(), name.end(), '\\', kFolderSeparators[0]);
  return programDir + name;
}

}  // namespace morvo
