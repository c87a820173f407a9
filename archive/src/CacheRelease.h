// Releases a file's cached bytes on a second thread while the caller goes on: used for an
// archive that is read for the last time and will be deleted, whose cache would otherwise
// be released by the deletion itself, in the caller's time.
#pragma once

#include <thread>

#include "FileHandle.h"

namespace vka {

class CacheRelease {
 public:
  // Starts at once; `file` must stay open until this object is destroyed, which waits for it.
  explicit CacheRelease(const FileHandle& file);
  ~CacheRelease();
  CacheRelease(const CacheRelease&) = delete;
  CacheRelease& operator=(const CacheRelease&) = delete;

 private:
  std::thread worker_;
};

}  // namespace vka
