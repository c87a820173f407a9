// A game folder with everything the installer works with (settings, log, fake window, run
// state), containers built in memory, and archives written and read through the archive
// library's own classes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "FakeWindow.h"
#include "config/PatcherSettings.h"
#include "engine/PatchContext.h"
#include "engine/PatchRunState.h"
#include "log/Logger.h"

namespace morvo {

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Writes bytes to folder + name when the file system keeps name, as spelt, as one entry of
// folder (ending in '/'); otherwise leaves nothing and returns false. Windows makes some names
// into others: it drops trailing dots and blanks, reads '\' as a separator, refuses '<'.
bool WriteFileNamedExactly(const std::string& folder, const std::string& name,
                           const std::string& bytes);

// A fresh folder under the system's temporary folder (or under the folder given), removed with
// everything in it.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& under = {});
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  // Ends in '/'.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The program folder of one test: ProgramDir is game() (inside a parent folder that tests may
// use as "outside"), the program is named "MorvoPatcher", the log is open.
class GameFolder {
 public:
  // The parent folder is made under the system's temporary folder, or under the folder given.
  explicit GameFolder(const std::string& under = {});
  const std::string& game() const { return game_; }
  const std::string& outside() const { return scratch_.path(); }
  std::string operator/(const std::string& name) const { return game_ + name; }
  std::string LogText() const { return ReadFile(game_ + kLogFileName); }
  // Writes a container as the downloader leaves it: game + "MorvoTMP" + name, listed in
  // InstallFiles and registered.
  std::string AddDownloaded(const std::string& name, const std::string& bytes);

 private:
  ScratchDir scratch_;
  std::string game_;

 public:
  PatcherSettings settings;
  Logger log;
  FakeWindow window;
  PatchRunState state;
  PatchContext context;
};

// A container's bytes, entry by entry.
class ContainerBuilder {
 public:
  ContainerBuilder& Add(const std::string& source, const std::string& dest,
                        const std::string& data);
  // The container with its real count, or with count when given.
  std::string Bytes() const;
  std::string Bytes(std::int32_t count) const;

 private:
  std::int32_t entries_ = 0;
  std::string body_;
};

using ArchiveEntries = std::vector<std::pair<std::string, std::string>>;  // name, content
void WriteArchive(const std::string& path, const ArchiveEntries& files);
// Name and stored bytes of every entry, sorted; repeated names show as repeated rows.
// A single row "unreadable" when the file does not open as an archive.
ArchiveEntries ArchiveContent(const std::string& path);

}  // namespace morvo
