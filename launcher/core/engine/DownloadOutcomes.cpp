#include "engine/DownloadOutcomes.h"

#include "lists/PatchLists.h"
#include "text/AsciiText.h"

namespace morvo {

namespace {

// The register's key of an entry line: the text before its first "=", trimmed of blanks and
// control characters, reduced to its file name, as the register writer reads it.
std::string RegisteredName(const std::string& entry) {
  const std::string_view key = std::string_view(entry).substr(0, entry.find('='));
  return FileNameOfUrl(std::string(TrimControlAndBlanks(key)));
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

int DownloadOutcomes::FailedCount() const {
  int failed = 0;
  for (const auto& [name, arrived] : arrivedByName_) failed += arrived ? 0 : 1;
  return failed;
}

}  // namespace morvo
