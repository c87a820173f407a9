#include "run/DownloadOutcomes.h"

#include <algorithm>

namespace {

// The register's key of an entry line: the text before its first "=", trimmed of blanks and
// control characters, reduced to its file name, as the register writer reads it.
std::string RegisteredName(const std::string& entry) {
  std::string key = entry.substr(0, entry.find('='));
  const auto isBlank = [](unsigned char c) { return c <= 32; };
  while (!key.empty() && isBlank(static_cast<unsigned char>(key.back()))) key.pop_back();
  const auto first = std::find_if_not(key.begin(), key.end(), [&](char c) {
    return isBlank(static_cast<unsigned char>(c));
  });
  return FileNameOfUrl(std::string(first, key.end()));
}

}  // namespace

void DownloadOutcomes::Record(const std::string& url, bool arrived) {
  arrivedByName_[FileNameOfUrl(url)] = arrived;
}

bool DownloadOutcomes::Arrived(const std::string& name) const {
  const auto found = arrivedByName_.find(name);
  return found == arrivedByName_.end() || found->second;
}

void DownloadOutcomes::KeepArrivedOnly(PatchRunState& state) const {
  std::erase_if(state.DownloadUrls,
                [&](const std::string& url) { return !Arrived(FileNameOfUrl(url)); });
  std::erase_if(state.InstalledEntries,
                [&](const std::string& entry) { return !Arrived(RegisteredName(entry)); });
}
