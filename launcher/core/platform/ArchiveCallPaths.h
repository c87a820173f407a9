// How paths reach the archive library, whose calls take byte strings in the platform's narrow
// encoding: UTF-8 on Linux, the ANSI code page on Windows, which cannot say every name a game
// folder may have (a player's name in Cyrillic or CJK in its path, on a Western system).
#pragma once

#include <string>

namespace morvo {

class ArchiveCallPaths {
 public:
  // folder (ending in a separator) holds every path handed over. On Windows it is the current
  // directory while this object lives, so that those paths go over relative to it.
  explicit ArchiveCallPaths(const std::string& folder);
  ~ArchiveCallPaths();
  ArchiveCallPaths(const ArchiveCallPaths&) = delete;
  ArchiveCallPaths& operator=(const ArchiveCallPaths&) = delete;

  // The byte string that names path for the library; empty when no narrow name reaches it, so
  // that the library's call fails as for a missing file.
  std::string Narrow(const std::string& path) const;

 private:
  std::string folder_;
  std::wstring previousFolder_;  // Windows: the current directory to go back to, empty if kept
};

}  // namespace morvo
