// The file a download writes into: beside its target, renamed over it only when complete, so
// the target never holds a partial body. PartFilePosix.cpp and PartFileWin32.cpp implement it;
// the build picks one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/BackgroundSha256.h"

namespace morvo {

class PartFile {
 public:
  // Creates (or empties) target + ".part". Check IsOpen().
  explicit PartFile(std::string targetPath);
  ~PartFile();  // removes the part file unless Commit succeeded
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  bool IsOpen() const { return file_ != kNoFile; }
  std::uint64_t Size() const { return size_; }
  // Appends all of data; false on a write error (disk full, ...).
  bool Append(const char* data, std::size_t size);
  // Drops what was written, to start the body over (and its hash, see HashBody).
  bool Truncate();
  // From now on every byte appended is hashed as it is written (on a thread of its own), so that
  // Digest needs no second read of the file: a body resumed by a byte range continues the hash
  // of the bytes before.
  void HashBody() { hash_.emplace(); }
  // The SHA-256 of the body written since HashBody; nullopt without HashBody or when the
  // platform refused hashing. Call once, when the body is complete.
  std::optional<Sha256Digest> Digest() { return hash_ ? hash_->Finish() : std::nullopt; }
  // Forces the body to the disk, closes the file and renames it over the target, the rename
  // forced to the disk too: an installation may read it again after a power cut.
  bool Commit();

  // Removes what stands at a target whose download failed (a file an earlier run left there).
  static void RemoveTarget(const std::string& targetPath);

 private:
  // Closes the file; false when that failed, which may mean its data never reached the disk.
  bool Close();
  void Hash(const char* data, std::size_t size) {
    if (hash_) hash_->Update(data, size);
  }

  // The part file's descriptor, or its Windows HANDLE (INVALID_HANDLE_VALUE is -1 as well);
  // this object is its only owner.
  static constexpr std::intptr_t kNoFile = -1;
  std::string targetPath_;
  std::string partPath_;
  std::intptr_t file_ = kNoFile;
  std::uint64_t size_ = 0;
  std::uint64_t writeBackFrom_ = 0;  // the body before this is already on its way to the disk
  bool committed_ = false;
  std::optional<BackgroundSha256> hash_;
};

}  // namespace morvo
