// The entries of the folders listed while one container is installed, by name with ASCII case
// folded: placing thousands of new files in one folder then lists it once, not once per file.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace morvo {

class FolderListings {
 public:
  // Folded name -> the entry with that folded name that comes first in name order.
  using Names = std::unordered_map<std::string, std::string>;

  // The names of folder (ending in a separator), or nullptr when it was not listed yet.
  const Names* Find(const std::string& folder) const;
  // True when folder was listed and neither held nor has gained since an entry whose name folds
  // like name's.
  bool Lacks(const std::string& folder, const std::string& name) const;
  const Names& Store(const std::string& folder, Names names);

  // Records that path, below root (both as ResolveGamePath joins them), now exists together
  // with every folder on the way, in the folders listed so far.
  void Added(const std::string& root, const std::string& path);

  // Adds name to names, keeping the first in name order among names that fold alike.
  static void AddName(Names& names, const std::string& name);

  // Folders found or made while this container is installed: asking the disk again whether they
  // are there would cost calls for every file placed in them.
  void Exists(const std::string& folder) { existing_.insert(folder); }
  bool KnownToExist(const std::string& folder) const {
    return existing_.contains(folder) || folders_.contains(folder);
  }

 private:
  std::unordered_map<std::string, Names> folders_;
  std::unordered_set<std::string> existing_;
};

}  // namespace morvo
