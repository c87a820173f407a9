// Patches whose file names cannot name their container in the game folder, in a server list
// and in the register: refused with a log line, never downloaded, registered or installed,
// while the good patches around them install as usual.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "PatchNamesFixture.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

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
  // What the file system made of each name: on Windows some cannot be written, and
  // "a\\..\\..\\canary\\x.bat" lands beside the canary, where the recovery must not reach it.
  std::vector<const BadName*> written;
  for (const BadName& bad : kBadNames) {
    registerFile += bad.name + "=1\r\n";
    WriteFileBytes(game + "MorvoTMP" + bad.name, Evil());
    if (ReadFileBytes(game + "MorvoTMP" + bad.name) == Evil()) written.push_back(&bad);
  }
  const Lines canaryBefore = FolderNames(canary);
  registerFile += "good.pak=1\r\n";
  WriteFileBytes(game + "MorvoPatchsList.ini", registerFile);
  WriteFileBytes(game + "MorvoTMPgood.pak", Container({{"good.txt", "good.txt", "good"}}));
  server.Serve("/list.ini", PatchList({"deny_play=0"}, {}));

  ASSERT_TRUE(Run().Finished);

  EXPECT_EQ(ReadFileBytes(game + "good.txt"), "good");
  EXPECT_FALSE(fs::exists(FsPath(game + "evil.txt")));
  EXPECT_FALSE(fs::exists(game + "MorvoTMPgood.pak"));
  for (const BadName* bad : written) {
    // The run itself downloads its server list to MorvoTMPPatchsList.ini.
    if (bad->name == "PatchsList.ini") continue;
    EXPECT_EQ(ReadFileBytes(game + "MorvoTMP" + bad->name), Evil()) << bad->shown;
  }
  const Lines log = FileLines(game + "MorvoPatcherLog.txt");
  EXPECT_NE(std::find(log.begin(), log.end(), "Installation des patchs non-install\xE9s (1) ..."),
            log.end());
  EXPECT_EQ(FolderNames(canary), canaryBefore);
}

}  // namespace
