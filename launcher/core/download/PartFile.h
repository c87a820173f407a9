// The file a download writes into: beside its target, renamed over it only when complete, so
// the target never holds a partial body.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/UniqueFd.h"

namespace morvo {

class PartFile {
 public:
  // Creates (or empties) target + ".part". Check IsOpen().
  explicit PartFile(std::string targetPath);
  ~PartFile();  // removes the part file unless Commit succeeded
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  bool IsOpen() const { return fd_.IsOpen(); }
  std::uint64_t Size() const { return size_; }
  // Appends all of data; false on a write error (disk full, ...).
  bool Append(const char* data, std::size_t size);
  // Drops what was written, to start the body over.
  bool Truncate();
  // Closes the file and renames it over the target.
  bool Commit();

 private:
  std::string targetPath_;
  std::string partPath_;
  UniqueFd fd_;
  std::uint64_t size_ = 0;
  bool committed_ = false;
};

}  // namespace morvo
