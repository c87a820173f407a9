#include "install/InstalledFiles.h"

#include <set>

#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

namespace morvo {

bool InstalledFiles::FlushToDisk() const {
  bool flushed = true;
  std::set<std::string> folders{gameFolder_};
  for (const std::string& file : files_) {
    flushed = FlushFileAt(file) && flushed;
    // FolderOfPath keeps the separator, so the parent is the folder of the text without it.
    for (std::string folder = FolderOfPath(file);
         folder.size() > gameFolder_.size() && folder.starts_with(gameFolder_);
         folder = FolderOfPath(folder.substr(0, folder.size() - 1))) {
      if (!folders.insert(folder).second) break;  // its parents are in already
    }
  }
  for (const std::string& folder : folders) flushed = FlushFolder(folder) && flushed;
  return flushed;
}

}  // namespace morvo
