// A test with its own patch server (a folder served by nginx on 127.0.0.1) and game folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FolderContent.h"
#include "GameTools.h"
#include "LocalServers.h"

// Deterministic bytes, partly compressible: the same seed gives the same bytes.
std::string SampleBytes(unsigned seed, std::size_t size);

// The lines of a log file (CR LF ends each), as Windows-1252 bytes.
std::vector<std::string> LogLines(const std::string& path);
// How many lines equal line exactly.
int CountLines(const std::vector<std::string>& lines, const std::string& line);

class PatchServerTest : public testing::Test {
 protected:
  void SetUp() override;
  // How fast the server sends each file (0: as fast as it can).
  virtual long ServerBytesPerSecond() const { return 0; }
  // The programs MakeGame puts in the game folder.
  virtual GamePrograms Programs() const { return LinuxGamePrograms(); }

  // A container in the server's patches/ folder holding files under their destinations
  // ('/' between folders; written with '\' in the container).
  void AddFilesPatch(const std::string& container, const FileMap& files);
  // A container holding one archive (named archiveName) of files, merged into the game's.
  void AddArchivePatch(const std::string& container, const std::string& archiveName,
                       const FileMap& files);
  // A container holding files already on disk: (path, destination) pairs.
  void AddPatch(const std::string& container,
                const std::vector<std::pair<std::string, std::string>>& entries);
  // The patch list at the server root, offering the containers in this order.
  void PublishList(const std::string& listName, const std::vector<std::string>& containers);
  // The game folder with Config.mpc (its list address: listName on this server) and archives.
  void MakeGame(const std::map<std::string, FileMap>& archives,
                const std::map<std::string, std::string>& overrides = {},
                const std::string& listName = "patchlist.ini");

  std::string ServerPath(const std::string& relative) const { return server_ + "/" + relative; }
  std::string GamePath(const std::string& relative) const { return game_ + "/" + relative; }
  // The content of the game folder (the log left out), with its archives read by content.
  FolderContent GameContent(const std::string& gameDir = "") const;
  // What an archive made with vka create from files holds, in the same form.
  std::string ArchiveContentOf(const FileMap& files) const;

  // patchrun on the game folder, to its end (or the timeout).
  RunResult RunPatchrun(const std::string& gameDir = "",
                        std::chrono::seconds timeout = std::chrono::seconds(120));

  std::string work_, server_, game_, scratch_;
  std::unique_ptr<NginxServer> nginx_;
};
