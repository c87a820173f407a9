// The files that one container put in place, brought to the disk together before the container
// is deleted: until then the container can install them again, afterwards nothing can. Each
// file's write-back started when it was written, so this is one wait per container, not one per
// file.
#pragma once

#include <string>
#include <vector>

namespace morvo {

class InstalledFiles {
 public:
  // Files lie in gameFolder (ending in its separator) or in folders below it.
  explicit InstalledFiles(std::string gameFolder) : gameFolder_(std::move(gameFolder)) {}

  void Add(const std::string& path) { files_.push_back(path); }

  // Forces each file's data to the disk, then the entries of every folder from each file's own
  // up to the game folder (a folder created for a file is itself an entry of its parent), from
  // several threads so that the file system serves the flushes together. False when any of it
  // failed: the files may then not survive a power cut.
  bool FlushToDisk() const;

 private:
  std::string gameFolder_;
  std::vector<std::string> files_;
};

}  // namespace morvo
