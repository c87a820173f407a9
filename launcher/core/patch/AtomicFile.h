// Files that are never half-written: data go to a temporary file beside the target, which
// replaces the target with one rename once everything is written.
#pragma once

#include <string>
#include <string_view>

class AtomicFileWriter {
 public:
  // Creates (truncating) target + ".MorvoTMP". The name is fixed so that a later attempt after a
  // kill reuses, and so removes, what an interrupted one left.
  explicit AtomicFileWriter(std::string targetPath);
  ~AtomicFileWriter();  // removes the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // False once any write failed (disk full, I/O error); later writes are dropped.
  bool Write(const void* data, std::size_t size);
  // Flushes the buffer, gives the file the permission bits of mode, and renames it over the
  // target. False, and the target untouched, when anything failed.
  bool Commit(unsigned mode = 0644);

 private:
  bool Flush();

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool failed_ = false;
  std::string buffer_;
};

// Replaces path by bytes in one step; false when it could not.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
