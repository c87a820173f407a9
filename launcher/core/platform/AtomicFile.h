// Files that are never half-written: data go to a temporary file beside the target, which
// replaces the target with one rename once everything is written.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/NativeFile.h"

namespace morvo {

class AtomicFileWriter {
 public:
  // How the finished temporary file takes the target's place; true when it is there.
  using Replacer = std::function<bool(const std::string& temp, const std::string& target)>;

  // Creates target + ".MorvoTMP" exclusively, after removing whatever has that name. The name
  // is fixed so that a later attempt after a kill removes what an interrupted one left.
  explicit AtomicFileWriter(std::string targetPath);
  ~AtomicFileWriter();  // removes the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool IsOpen() const { return file_.IsOpen(); }
  // False once any write failed (disk full, I/O error); later writes are dropped.
  bool Write(const void* data, std::size_t size);
  // Appends up to size bytes read from source at its current offset, inside the kernel where
  // the file systems allow it; returns how many were read (fewer when source ended or a write
  // failed, see Failed).
  std::size_t CopyFrom(NativeFile& source, std::size_t size);
  bool Failed() const { return failed_; }
  // Flushes the buffer, gives the file the permission bits of mode (where the platform has
  // them), and renames it over the target. With durable, the data and the rename are also forced to
  // the disk, so that not even a power cut leaves a half-written target; without, a large file's
  // data start on their way to the disk and the caller flushes them (FlushFileAt, FlushFolder)
  // before it records the work as done. False, and the target untouched, when anything failed.
  // replace, when given, puts the file in place instead of a plain rename.
  bool Commit(unsigned mode = 0644, bool durable = false, const Replacer& replace = {});

 private:
  bool Flush();
  std::size_t CopyThroughBuffer(NativeFile& source, std::size_t size);

  std::string target_;
  std::string temp_;
  NativeFile file_;
  bool failed_ = false;
  std::int64_t size_ = 0;  // bytes written to the file so far
  std::string buffer_;
};

// Replaces path by bytes in one step, durably, with permission bits mode. On false the target
// is as it was and no temporary file is left.
bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                           unsigned mode = 0644);

}  // namespace morvo
