#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/GamePathEntry.h"
#include "text/AsciiText.h"

namespace morvo {

namespace fs = std::filesystem;

namespace {

bool Inside(const fs::path& path, const fs::path& root) {
  auto [rootEnd, pathIt] = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
  return rootEnd == root.end();
}

bool IsThere(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

const FolderListings::Names& ListFolder(const std::string& folder, FolderListings& listings) {
  FolderListings::Names names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    FolderListings::AddName(names, it->path().filename().string());
  }
  return listings.Store(folder, std::move(names));
}

}  // namespace

// The first match in name order, so that the choice does not depend on the directory's order.
std::string MatchingEntry(const std::string& folder, const std::string& part, bool& exists,
                          FolderListings& listings) {
  exists = IsThere(folder + part);
  if (exists) return part;
  // Entries created since the listing were added to it by the installer that created them.
  const FolderListings::Names* names = listings.Find(folder);
  if (names == nullptr) names = &ListFolder(folder, listings);
  auto match = names->find(AsciiLower(part));
  // An entry removed since the folder was listed: it is listed again.
  if (match != names->end() && !IsThere(folder + match->second)) {
    names = &ListFolder(folder, listings);
    match = names->find(AsciiLower(part));
  }
  exists = match != names->end();
  return exists ? match->second : part;
}

bool LinkLeavesFolder(const std::string& path, const std::string& root) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return false;
  const fs::path target = fs::canonical(path, error);
  if (error) return true;
  const fs::path canonicalRoot = fs::canonical(root, error);
  return error || !Inside(target, canonicalRoot);
}

}  // namespace morvo
