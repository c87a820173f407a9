// The real launcher under Xvfb: a full run whose new configuration makes it restart, whose new
// copy of the program replaces it through the UPDATE_1 / UPDATE_2 chain of three processes,
// and whose Start button then starts the game.
#include <filesystem>
#include <iostream>
#include <thread>

#include "LauncherTest.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

const FileMap kInstalledData = {
    {"Textes/intro.txt", "Il etait une fois. (1)"},
    {"Regles.txt", "Regles, version 1."},
};

// The launcher's own bytes with a mark behind them: a different file that still runs.
std::string NewProgramBytes() {
  return ReadFileBytes(BinPath("MorvoPatcher")) + "\nnew launcher build for the e2e test\n";
}

class LauncherRun : public LauncherTest {};

TEST_F(LauncherRun, RestartsForANewConfigurationThenReplacesItselfAndStartsTheGame) {
  MakeGame({{"data.vka", kInstalledData}}, {}, "list1.ini");
  // The new configuration sends the restarted launcher to the second list.
  const std::string newConfig = scratch_ + "/config2/Config.mpc";
  ASSERT_TRUE(MakeConfig(newConfig, nginx_->Url(), {{"PatchListUrl", nginx_->Url("/list2.ini")}},
                         scratch_ + "/config2"));
  const std::string newProgram = scratch_ + "/program/MorvoPatcher";
  WriteFiles(scratch_ + "/program", {{"MorvoPatcher", NewProgramBytes()}});

  AddFilesPatch("p0001.pak", {{"Extras/notes.txt", "Notes."}});
  AddArchivePatch("p0002.pak", "data.vka", {{"Textes/intro.txt", "Il etait une fois. (2)"}});
  AddArchivePatch("p0003.pak", "data.vka", {{"Regles.txt", "Regles, version 2."}});
  AddPatch("p0004.pak", {{newConfig, "Config.mpc"}});
  AddPatch("p0005.pak", {{newProgram, "MorvoPatcher"}});
  PublishList("list1.ini", {"p0001.pak", "p0002.pak", "p0003.pak", "p0004.pak"});
  PublishList("list2.ini", {"p0005.pak"});

  auto first = StartLauncher();
  // First instance: list1, install, restart; second: list2, self-update; the replaced program
  // (UPDATE_2) starts normally and fetches list2 once more, finding nothing new.
  const std::string unfinished = WaitForSelfUpdateChain(std::chrono::seconds(180));
  ASSERT_TRUE(unfinished.empty()) << unfinished;

  EXPECT_EQ(nginx_->RequestCount("/list1.ini"), 1)
      << "the restarted launcher read the old configuration";
  EXPECT_EQ(ReadFileBytes(GamePath("MorvoPatcher")), NewProgramBytes());
  EXPECT_TRUE(IsExecutable(GamePath("MorvoPatcher")));
  EXPECT_EQ(ReadFileBytes(GamePath("Config.mpc")), ReadFileBytes(newConfig));
  EXPECT_EQ(ReadFileBytes(GamePath("Extras/notes.txt")), "Notes.");
  EXPECT_EQ(GameContent().files["data.vka"],
            ArchiveContentOf({{"Textes/intro.txt", "Il etait une fois. (2)"},
                              {"Regles.txt", "Regles, version 2."}}));
  // The running launcher is the replaced program file.
  ASSERT_FALSE(ProcessesRunning(GamePath("MorvoPatcher")).empty());

  std::this_thread::sleep_for(std::chrono::seconds(1));  // the Start button paints
  const std::string screenshot = work_ + "/screenshot.png";
  EXPECT_TRUE(Screenshot(screenshot));
  std::cout << "[screenshot] " << screenshot << std::endl;

  ASSERT_TRUE(ClickStart());
  // The game's script creates its record before it writes it: wait for the last line.
  std::string started;
  for (int i = 0; i < 100 && started.find("parameter: Joueur") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (fs::exists(GamePath("game-started.txt")))
      started = ReadFileBytes(GamePath("game-started.txt"));
  }
  EXPECT_NE(started.find("folder: " + fs::canonical(game_).string()), std::string::npos) << started;
  EXPECT_NE(started.find("parameter: --player"), std::string::npos) << started;
}

}  // namespace
