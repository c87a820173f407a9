// patchrun as operators run it: a game folder, the test server, the exit status and the output.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "RunTestSupport.h"
#include "ToolRun.h"
#include "config/ConfigWriter.h"
#include "platform/FileSystem.h"
#include "text/AsciiText.h"

using namespace morvo;

namespace {

// The platform's launcher program file.
const std::string kLauncher = LAUNCHER_FILE_NAME;

struct ToolRun {
  int exitCode = -1;
  std::string output;  // stdout and stderr
};

// arguments: separated by blanks, which none of them holds. The tool runs in a folder of its
// own, where its output is kept.
ToolRun Patchrun(const std::string& arguments) {
  std::vector<std::string> args;
  std::istringstream words(arguments);
  for (std::string word; words >> word;) args.push_back(word);
  const TempDir outputs;
  const vka::test::Outcome outcome = vka::test::runTool(PATCHRUN_PATH, args, outputs.path());
  return {outcome.status, outcome.out + outcome.err};
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The text between prefix and the end of its line in output; empty when prefix is missing.
std::string RestOfLine(const std::string& output, const std::string& prefix) {
  const auto start = output.find(prefix);
  if (start == std::string::npos) return {};
  const auto from = start + prefix.size();
  return output.substr(from, output.find('\n', from) - from);
}

class PatchrunTool : public ::testing::Test {
 protected:
  PatchrunTool() {
    server.Serve("/news.html", "news");
    settings = RunSettings(server);
    settings.Messages[0] = "Impossible de lancer ";
    settings.Messages[8] =
        "Mise \xE0 jour termin\xE9"
        "e.";
    const std::filesystem::path gameProgram = MARKER_GAME_PATH;
    settings.GameExe = gameProgram.filename().string();
    std::filesystem::copy_file(gameProgram, game / settings.GameExe);
  }

  TestHttpServer server;
  TempDir game;
  PatcherSettings settings;
};

TEST_F(PatchrunTool, RunsThePatchesPlacesTheNewLauncherAndStartsTheGame) {
  WriteFileBytes(game / kLauncher, "old launcher");
  server.Serve("/list.ini", PatchList({"deny_play=0"}, {server.Url("/p0001.pak")}));
  server.Serve("/p0001.pak", Container({{"notes.txt", "Docs\\notes.txt", "hello"},
                                        {kLauncher, AsciiLower(kLauncher), "new launcher"}}));
  ASSERT_TRUE(SaveConfig(game.path(), settings));

  const ToolRun run = Patchrun(game.path() + " --start");

  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Contains(run.output, "M1\nM2\nM3\nM4\nM5\nM9 p0001.pak ... ")) << run.output;
  EXPECT_TRUE(Contains(run.output,
                       "Mise \xC3\xA0 jour termin\xC3\xA9"
                       "e.\n"))
      << run.output;
  // Windows names the folder with its own separators: the path must reach the launcher.
  EXPECT_TRUE(
      SameFile(RestOfLine(run.output, "New launcher program installed: "), game / kLauncher))
      << run.output;
  EXPECT_TRUE(Contains(run.output, "Start would be shown.\nGame started: "));
  EXPECT_EQ(ReadFileBytes(game / "Docs/notes.txt"), "hello");
  EXPECT_EQ(ReadFileBytes(game / kLauncher), "new launcher");
  EXPECT_FALSE(std::filesystem::exists(game / ("MorvoTMP_" + kLauncher)));
  EXPECT_EQ(FileLines(game / "MorvoPatcherLog.txt").back(), "Fin du log.");
  for (int i = 0; i < 500 && !std::filesystem::exists(game / "marker.txt"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(std::filesystem::exists(game / "marker.txt"));
}

TEST_F(PatchrunTool, ExitStatusTellsWhatHappened) {
  EXPECT_EQ(Patchrun("").exitCode, 1);
  EXPECT_EQ(Patchrun(game / "no-such-folder").exitCode, 1);
  EXPECT_EQ(Patchrun(game.path() + " --bogus").exitCode, 1);
  EXPECT_EQ(Patchrun("--help").exitCode, 0);

  const ToolRun noConfig = Patchrun(game.path());
  EXPECT_EQ(noConfig.exitCode, 2);
  EXPECT_TRUE(Contains(noConfig.output, "Config.mpc")) << noConfig.output;

  server.Serve("/list.ini", PatchList({"deny_play=1"}, {}));
  ASSERT_TRUE(SaveConfig(game.path(), settings));
  const ToolRun denied = Patchrun(game.path() + " --start");
  EXPECT_EQ(denied.exitCode, 3) << denied.output;
  EXPECT_TRUE(Contains(denied.output, "M6\nStart would stay hidden.\n")) << denied.output;
  EXPECT_FALSE(std::filesystem::exists(game / "marker.txt"));

  settings.GameExe = "missing.exe";
  server.Serve("/list.ini", PatchList({"deny_play=0"}, {}));
  ASSERT_TRUE(SaveConfig(game.path(), settings));
  const ToolRun noGame = Patchrun(game.path() + " --start");
  EXPECT_EQ(noGame.exitCode, 3);
  EXPECT_TRUE(Contains(noGame.output, "Impossible de lancer missing.exe")) << noGame.output;
  EXPECT_EQ(Patchrun(game.path()).exitCode, 0);
}

}  // namespace
