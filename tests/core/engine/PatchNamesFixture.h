// The server, game folder and a canary folder beside it for the tests of patches whose file
// names cannot name their container in the game folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FakeWindow.h"
#include "RunTestSupport.h"
#include "config/ConfigWriter.h"
#include "engine/WindowlessRun.h"
#include "platform/FileSystem.h"

namespace morvo {

using Lines = std::vector<std::string>;

struct BadName {
  std::string name;   // the text after the URL's last "/"
  std::string shown;  // as the log line shows it
};

const BadName kBadNames[] = {
    {"a\\..\\..\\canary\\x.bat", "a\\..\\..\\canary\\x.bat"},
    {"c:x.pak", "c:x.pak"},
    {"x\x01y.pak", "x?y.pak"},
    {"x<y.pak", "x<y.pak"},
    {"x>y.pak", "x>y.pak"},
    {"x\"y.pak", "x\"y.pak"},
    {"x|y.pak", "x|y.pak"},
    {"x?y.pak", "x?y.pak"},
    {"x*y.pak", "x*y.pak"},
    {".", "."},
    {"..", ".."},
    {"p.pak.", "p.pak."},
    {"CON", "CON"},
    {"nul.pak", "nul.pak"},
    {"Com1.pak", "Com1.pak"},
    {"lpt9", "lpt9"},
    {std::string(243, 'n'), std::string(243, 'n')},
    {"PatchsList.ini", "PatchsList.ini"},
    {"vka.VKA", "vka.VKA"},
    {"_MorvoPatcher", "_MorvoPatcher"},
    {"VKA_Data.vka", "VKA_Data.vka"},
};

const char kRefused[] = "    Erreur :  Nom de fichier refus\xE9 (";

inline std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(FsPath(folder))) {
    names.push_back(Utf8Path(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

class PatchNamesTest : public ::testing::Test {
 protected:
  PatchNamesTest() {
    std::filesystem::create_directory(FsPath(game));
    std::filesystem::create_directory(FsPath(canary));
    WriteFileBytes(canary + "canary.txt", "canary");
    server.Serve("/news.html", "<html>Nouvelles</html>");
    EXPECT_TRUE(SaveConfig(game, RunSettings(server)));
  }

  WindowlessRunResult Run() {
    window = FakeWindow();
    DownloadOptions options;
    options.FirstRetryWait = std::chrono::milliseconds(5);
    downloader = MakeSystemDownloader(options);
    PatchRunServices services;
    services.Download = downloader.get();
    return RunWithoutWindow(game, game + "MorvoPatcher", window, services);
  }

  // What a downloaded bad patch would write, had it been installed.
  std::string Evil() const { return Container({{"evil.txt", "evil.txt", "evil"}}); }

  TempDir root;
  const std::string game = root / "game/";
  const std::string canary = root / "canary/";  // beside the game folder
  TestHttpServer server;
  FakeWindow window;
  std::unique_ptr<Downloader> downloader;
};

}  // namespace morvo
