// Making game folders, archives, patch containers, patch lists and configurations with the
// project's own command-line tools, as an operator would.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Relative path ('/' between folders) -> bytes.
using FileMap = std::map<std::string, std::string>;

// Runs build/bin/<tool> with args; success when it exits 0. *output gets what it printed.
testing::AssertionResult RunTool(const std::string& tool, const std::vector<std::string>& args,
                                 std::string* output = nullptr);

void WriteFiles(const std::string& root, const FileMap& files);

// An archive holding files, each named by its relative path (vka create --root).
testing::AssertionResult MakeArchive(const std::string& archive, const FileMap& files,
                                     const std::string& scratchDir);

// A patch container of (file on disk, destination in the game folder) pairs.
testing::AssertionResult MakePatch(const std::string& container,
                                   const std::vector<std::pair<std::string, std::string>>& entries);

// The server patch list of containers (their file names under baseUrl).
testing::AssertionResult MakePatchList(const std::string& listPath, const std::string& baseUrl,
                                       const std::vector<std::string>& containers);

// Config.mpc from the demo's description, its addresses on serverUrl, with some fields set
// otherwise or added (field name -> value as the description writes it).
testing::AssertionResult MakeConfig(const std::string& configPath, const std::string& serverUrl,
                                    const std::map<std::string, std::string>& overrides,
                                    const std::string& scratchDir);

// The programs a game folder ships: each built file with its name in the folder, and the
// game program that Start runs (its GameExe setting).
struct GamePrograms {
  std::map<std::string, std::string> Files;  // built file -> name in the game folder
  std::string GameExe;
};
// The Linux launcher and libvka.so (when built) with the demo's stand-in game script.
GamePrograms LinuxGamePrograms();

// A game folder: the programs, a Config.mpc as above (naming programs.GameExe unless the
// overrides name another) and the installed archives.
testing::AssertionResult MakeGameFolder(const std::string& gameDir, const std::string& serverUrl,
                                        const std::map<std::string, FileMap>& archives,
                                        const std::string& scratchDir,
                                        const std::map<std::string, std::string>& overrides = {},
                                        const GamePrograms& programs = LinuxGamePrograms());
