// The files that one container put in place, brought to the disk together before the container
// is deleted: until then the container can install them again, afterwards nothing can. One flush
// of the game folder's file system where it brings them all, otherwise one flush per file and
// folder, waited for side by side.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystemFlush.h"

namespace morvo {

class InstalledFiles {
 public:
  // Files lie in gameFolder (ending in its separator) or in folders below it. Made before the
  // first of them is written, so that the flush reports a write-back error of any of them.
  explicit InstalledFiles(std::string gameFolder)
      : gameFolder_(std::move(gameFolder)), wholeFileSystem_(gameFolder_) {}

  void Add(const std::string& path) { files_.push_back(path); }

  // Forces each file's data to the disk, then the entries of every folder from each file's own
  // up to the game folder (a folder created for a file is itself an entry of its parent): with
  // one flush of the file system when it holds all those folders and flushes them that way,
  // otherwise file by file and folder by folder from several threads, so that the file system
  // serves the flushes together. False when any of it failed: the files may then not survive a
  // power cut.
  bool FlushToDisk() const;

 private:
  std::string gameFolder_;
  std::vector<std::string> files_;
  FileSystemFlush wholeFileSystem_;
};

}  // namespace morvo
