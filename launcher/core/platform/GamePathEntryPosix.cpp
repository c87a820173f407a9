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

}  // namespace

// The first match in name order, so that the choice does not depend on the directory's order.
std::string MatchingEntry(const std::string& folder, const std::string& part, bool& exists) {
  struct stat info {};
  exists = ::lstat((folder + part).c_str(), &info) == 0;
  if (exists) return part;
  std::error_code error;
  std::string best;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string candidate = it->path().filename().string();
    if (EqualsIgnoringAsciiCase(candidate, part) && (!exists || candidate < best)) {
      best = candidate;
      exists = true;
    }
  }
  return exists ? best : part;
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
