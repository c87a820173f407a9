// The wait for the game with a real program started from the game folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "InstallTestSupport.h"
#include "ProcessTestSupport.h"
#include "RunLockTestSupport.h"
#include "engine/GameRunningWait.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"
#include "platform/RunningProgram.h"

using namespace morvo;

namespace {

TEST(WaitWhileGameRuns, WaitsForTheGameProgramStartedFromTheFolder) {
  GameFolder folder;
  folder.settings.GameExe = "Game.exe";
  std::filesystem::copy_file(FsPath(ProgramDir() + ProgramFileName("waiting_program")),
                             FsPath(folder / "Game.exe"));
  StartedProgram game(folder / "Game.exe");
  ASSERT_TRUE(game.Running());
  // A started process runs its program file only once the system has loaded it.
  for (int i = 0; i < 500 && !IsProgramRunning(folder / "Game.exe"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  HookedWindow window;
  window.hook = [&] {
    if (window.eventPumps == 2) game.End();
  };
  PatchContext context{folder.settings, folder.log,    window,
                       folder.state,    folder.game(), folder.game() + "MorvoPatcher"};

  WaitWhileGameRuns(context, IsProgramRunning, std::chrono::milliseconds(10));

  EXPECT_FALSE(game.Running());
  EXPECT_EQ(window.statusTexts, std::vector<std::string>{kWaitingForGameFrench});
  EXPECT_GE(window.eventPumps, 2);
}

}  // namespace
