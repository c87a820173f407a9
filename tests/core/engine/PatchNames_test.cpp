// Patches whose file names cannot name their container in the game folder, in a server list
// and in the register: refused with a log line, never downloaded, registered or installed,
// while the good patches around them install as usual.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "FakeWindow.h"
#include "RunTestSupport.h"
#include "config/ConfigWriter.h"
#include "engine/WindowlessRun.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

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

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class PatchNamesTest : public ::testing::Test {
 protected:
  PatchNamesTest() {
    fs::create_directory(game);
    fs::create_directory(canary);
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

TEST_F(PatchNamesTest, EachBadNameBetweenGoodPatchesIsRefusedAndTheRunGoesOn) {
  Lines urls;
  std::string expectedRegister = "[patchs]\r\n";
  const std::size_t good = std::size(kBadNames) + 1;
  for (std::size_t i = 0; i < good; ++i) {
    const std::string name = "g" + std::to_string(i) + ".pak";
    urls.push_back(server.Url("/p/" + name));
    server.Serve("/p/" + name, Container({{"g.txt", "g" + std::to_string(i) + ".txt", name}}));
    expectedRegister += name + "=1\r\n";
    if (i < std::size(kBadNames)) {
      urls.push_back(server.Url("/p/" + kBadNames[i].name));
      server.Serve("/p/" + kBadNames[i].name, Evil());
    }
  }
  server.Serve("/list.ini", PatchList({"deny_play=0"}, urls));
  // Links planted under a good patch's container and part file names lead to the canary.
  fs::create_symlink(canary + "canary.txt", game + "MorvoTMPg0.pak");
  fs::create_symlink(canary + "canary.txt", game + "MorvoTMPg1.pak.part");

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_EQ(result.FailedPatches, static_cast<int>(std::size(kBadNames)));
  EXPECT_EQ(ReadFileBytes(game + "MorvoPatchsList.ini"), expectedRegister);
  for (std::size_t i = 0; i < good; ++i) {
    EXPECT_EQ(ReadFileBytes(game + "g" + std::to_string(i) + ".txt"),
              "g" + std::to_string(i) + ".pak");
  }
  const Lines log = FileLines(game + "MorvoPatcherLog.txt");
  for (const BadName& bad : kBadNames) {
    SCOPED_TRACE(bad.shown);
    const auto line = std::find(log.begin(), log.end(), "  " + server.Url("/p/" + bad.name));
    ASSERT_NE(line, log.end());
    ASSERT_NE(line + 1, log.end());
    EXPECT_EQ(*(line + 1), kRefused + bad.shown + ").");
    EXPECT_EQ(server.Requests("/p/" + bad.name), 0);
  }
  EXPECT_EQ(log.back(), "Fin du log.");

  // Nothing but the good patches' files and the launcher's own in the game folder; nothing
  // new beside it.
  Lines expected = {"Config.mpc", "MorvoPatcher.lock", "MorvoPatcherLog.txt",
                    "MorvoPatchsList.ini"};
  for (std::size_t i = 0; i < good; ++i) expected.push_back("g" + std::to_string(i) + ".txt");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderNames(game), expected);
  EXPECT_EQ(FolderNames(root.path()), (Lines{"canary", "game"}));
  EXPECT_EQ(FolderNames(canary), Lines{"canary.txt"});
  EXPECT_EQ(ReadFileBytes(canary + "canary.txt"), "canary");
}

// A register edited by hand names containers that lie in the folder under names that are no
// plain names: the recovery leaves them alone, and the register keeps its lines.
TEST_F(PatchNamesTest, RegisterKeysThatAreNoPlainNamesAreNotRecovered) {
  std::string registerFile = "[patchs]\r\n";
  for (const BadName& bad : kBadNames) {
    registerFile += bad.name + "=1\r\n";
    WriteFileBytes(game + "MorvoTMP" + bad.name, Evil());
  }
  registerFile += "good.pak=1\r\n";
  WriteFileBytes(game + "MorvoPatchsList.ini", registerFile);
  WriteFileBytes(game + "MorvoTMPgood.pak", Container({{"good.txt", "good.txt", "good"}}));
  server.Serve("/list.ini", PatchList({"deny_play=0"}, {}));

  ASSERT_TRUE(Run().Finished);

  EXPECT_EQ(ReadFileBytes(game + "good.txt"), "good");
  EXPECT_FALSE(fs::exists(game + "evil.txt"));
  EXPECT_FALSE(fs::exists(game + "MorvoTMPgood.pak"));
  for (const BadName& bad : kBadNames) {
    // The run itself downloads its server list to MorvoTMPPatchsList.ini.
    if (bad.name == "PatchsList.ini") continue;
    EXPECT_EQ(ReadFileBytes(game + "MorvoTMP" + bad.name), Evil()) << bad.shown;
  }
  const Lines log = FileLines(game + "MorvoPatcherLog.txt");
  EXPECT_NE(std::find(log.begin(), log.end(), "Installation des patchs non-install\xE9s (1) ..."),
            log.end());
  EXPECT_EQ(FolderNames(canary), Lines{"canary.txt"});
}

}  // namespace
