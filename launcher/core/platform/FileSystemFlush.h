// One flush of a whole file system for the many files a container writes into it: where the file
// system forces every file's data and every folder entry to the disk in that one call, it
// replaces a flush per file and per folder, which costs a journal commit each.
#pragma once

#include <cstdint>
#include <string>

namespace morvo {

class FileSystemFlush {
 public:
  // Opens folder before anything is written there, so that a write-back error of any file
  // written afterwards is reported by Flush. Usable only where the platform has such a flush and
  // folder's file system is known to honour it (a local journalled or memory file system, not a
  // user-space one that would never see it).
  explicit FileSystemFlush(const std::string& folder);
  ~FileSystemFlush();
  FileSystemFlush(const FileSystemFlush&) = delete;
  FileSystemFlush& operator=(const FileSystemFlush&) = delete;

  // True when Flush also brings to the disk what was written in folder, which must then lie on
  // the file system of the folder given at construction.
  bool Covers(const std::string& folder) const;
  // Forces everything written to that file system to the disk; false when a write-back failed
  // since construction or the flush itself failed (or when nothing is covered).
  bool Flush() const;

 private:
  std::intptr_t handle_ = -1;
  std::uint64_t device_ = 0;
};

}  // namespace morvo
