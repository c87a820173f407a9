// The game started by hand from the game folder holds its files: the launcher waits, with a
// live window, until it ends.
#include "engine/GameRunningWait.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "InstallTestSupport.h"
#include "RunLockTestSupport.h"
#include "engine/PatchRun.h"
#include "platform/FileSystem.h"

using namespace morvo;

namespace {

struct GameWait {
  GameFolder folder;
  HookedWindow window;
  PatchContext context{folder.settings, folder.log,    window,
                       folder.state,    folder.game(), folder.game() + "MorvoPatcher"};
};

TEST(WaitWhileGameRuns, WaitsWithALiveWindowInTheConfiguredLanguage) {
  const std::pair<std::int32_t, const char*> languages[] = {{0, kWaitingForGameFrench},
                                                            {1, kWaitingForGameEnglish}};
  for (const auto& [language, text] : languages) {
    SCOPED_TRACE(language);
    GameWait wait;
    wait.folder.settings.GameExe = "Bin\\Game.exe";
    wait.folder.settings.Language = language;
    std::vector<std::string> asked;
    const auto running = [&](const std::string& path) {
      asked.push_back(path);
      return asked.size() < 4;
    };

    WaitWhileGameRuns(wait.context, running, std::chrono::milliseconds(1));

    EXPECT_EQ(wait.window.statusTexts, std::vector<std::string>{text});
    EXPECT_EQ(wait.window.eventPumps, 3);
    ASSERT_EQ(asked.size(), 4u);
    // The program Start would run: GameExe in the game folder, '\' read as a separator.
    EXPECT_EQ(FsPath(asked[0]), FsPath(wait.folder / "Bin/Game.exe"));
  }
}

// Only the game folder's own program is waited for: not the launcher itself (which runs in
// every launcher waiting for this one), nor a program elsewhere.
TEST(WaitWhileGameRuns, OnlyAGameProgramOfTheFolderIsWaitedFor) {
  const std::pair<const char*, int> cases[] = {{"Game.exe", 1},
                                               {"", 0},
                                               {"..\\Other\\Game.exe", 0},
                                               {"C:\\Game.exe", 0},
                                               {"MorvoPatcher", 0}};
  for (const auto& [game, expectedChecks] : cases) {
    GameWait wait;
    WriteFile(wait.folder / "MorvoPatcher", "launcher");
    wait.folder.settings.GameExe = game;
    int checks = 0;
    WaitWhileGameRuns(
        wait.context, [&](const std::string&) { return ++checks, false; },
        std::chrono::milliseconds(1));
    EXPECT_TRUE(wait.window.statusTexts.empty()) << game;
    EXPECT_EQ(checks, expectedChecks) << game;
  }
}

// What an earlier run left unfinished is installed only once the game has ended.
TEST(WaitWhileGameRuns, RecoveryInstallsNothingWhileTheGameRuns) {
  GameWait wait;
  wait.folder.settings.GameExe = "Game.exe";
  ContainerBuilder container;
  container.Add("Game.exe", "Game.exe", "new game");
  const std::string path = wait.folder.AddDownloaded("p.pak", container.Bytes());
  WriteFile(wait.folder / "Game.exe", "old game");
  bool gameRuns = true;
  bool touchedWhileRunning = false;
  wait.window.hook = [&] {
    if (!gameRuns) return;
    touchedWhileRunning |= !FileExists(path) || ReadFile(wait.folder / "Game.exe") != "old game";
    if (wait.window.eventPumps == 3) gameRuns = false;
  };
  PatchRunServices services;
  services.LockPollInterval = std::chrono::milliseconds(1);
  services.ProgramRunning = [&](const std::string&) { return gameRuns; };
  PatchRun run(wait.context, services);

  run.RecoverUnfinishedPatches();

  EXPECT_FALSE(touchedWhileRunning);
  EXPECT_FALSE(gameRuns);
  EXPECT_EQ(ReadFile(wait.folder / "Game.exe"), "new game");
}

}  // namespace
