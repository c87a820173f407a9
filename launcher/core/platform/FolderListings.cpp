#include "platform/FolderListings.h"

#include "platform/ProgramDir.h"
#include "text/AsciiText.h"

namespace morvo {

const FolderListings::Names* FolderListings::Find(const std::string& folder) const {
  const auto found = folders_.find(folder);
  return found == folders_.end() ? nullptr : &found->second;
}

bool FolderListings::Lacks(const std::string& folder, const std::string& name) const {
  const Names* names = Find(folder);
  return names != nullptr && !names->contains(AsciiLower(name));
}

const FolderListings::Names& FolderListings::Store(const std::string& folder, Names names) {
  return folders_[folder] = std::move(names);
}

void FolderListings::Added(const std::string& root, const std::string& path) {
  if (!path.starts_with(root)) return;
  std::string folder = root;
  while (folder.size() < path.size()) {
    const auto end = path.find(kFolderSeparators[0], folder.size());
    const std::string name = path.substr(
        folder.size(), end == std::string::npos ? std::string::npos : end - folder.size());
    const auto listed = folders_.find(folder);
    if (listed != folders_.end()) AddName(listed->second, name);
    if (end == std::string::npos) break;
    folder = path.substr(0, end + 1);
  }
}

void FolderListings::AddName(Names& names, const std::string& name) {
  const auto [entry, added] = names.try_emplace(AsciiLower(name), name);
  if (!added && name < entry->second) entry->second = name;
}

}  // namespace morvo
