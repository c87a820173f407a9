// The launcher's sequence as every window program drives it: creation, the music lines, Start
// and Quit, with a window that records what it is asked.
#include "engine/LauncherSequence.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "FakeWindow.h"
#include "RunTestSupport.h"
#include "config/ConfigWriter.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"

using namespace morvo;

namespace {

using Lines = std::vector<std::string>;

class FakeLauncherWindow : public FakeWindow, public LauncherWindow {
 public:
  // PatchWindow, as the fake records it.
  void SetStatusText(const std::string& text) override { FakeWindow::SetStatusText(text); }
  std::int64_t GaugeMaxValue() const override { return FakeWindow::GaugeMaxValue(); }
  void SetGaugeMaxValue(std::int64_t value) override { FakeWindow::SetGaugeMaxValue(value); }
  void SetGaugeProgress(std::int64_t value) override { FakeWindow::SetGaugeProgress(value); }
  void ShowStart() override { FakeWindow::ShowStart(); }
  void ProcessPendingEvents() override { FakeWindow::ProcessPendingEvents(); }
  void CloseMainWindow() override { FakeWindow::CloseMainWindow(); }
  bool StartProgram(const std::string& program, std::string_view parameters,
                    const std::string& workingDir) override {
    return FakeWindow::StartProgram(program, parameters, workingDir);
  }

  bool BuildInterface() override { return builds; }
  void ShowErrorBox(const std::string& text) override { calls.push_back("error box " + text); }
  bool OpenMusic(const std::string& path) override {
    calls.push_back("open music " + path);
    return musicOpens;
  }
  void StartMusic() override { calls.push_back("start music"); }
  void StopMusic() override { calls.push_back("stop music"); }
  // A waiting click lets the window's queued work run, as a nested event loop would.
  void PlayClickSound(bool wait) override {
    calls.push_back(wait ? "click, waiting" : "click");
    if (wait && duringClick) duringClick();
    if (wait) RunQueued();
  }
  void RequestNewsPage() override { calls.push_back("request news"); }
  void RunAfterCurrentEvent(std::function<void()> step) override {
    queued.push_back(std::move(step));
  }
  void EndProcess() override { calls.push_back("end process"); }

  void RunQueued() {
    auto steps = std::move(queued);
    queued.clear();
    for (auto& step : steps) step();
  }

  bool builds = true;
  bool musicOpens = true;
  std::function<void()> duringClick;
  std::vector<std::function<void()>> queued;
};

class LauncherSequenceTest : public ::testing::Test {
 protected:
  LauncherSequenceTest() {
    server.Serve("/list.ini", PatchList({"deny_play=0"}, {}));
    settings = RunSettings(server);
  }

  // A new start of the launcher on the folder, with settings as its Config.mpc unless told.
  LauncherSequence& Make(bool writeSettings = true) {
    if (writeSettings) {
      EXPECT_TRUE(SaveConfig(game.path(), settings));
    }
    sequence.reset();
    log = std::make_unique<Logger>(game.path());
    state = std::make_unique<PatchRunState>(game.path());
    sequence = std::make_unique<LauncherSequence>(
        window, LauncherParts{loaded, *log, *state, game.path(), game / "MorvoPatcher"});
    return *sequence;
  }
  Lines Log() const { return FileLines(game / "MorvoPatcherLog.txt"); }

  TestHttpServer server;
  TempDir game;
  PatcherSettings settings;
  PatcherSettings loaded;
  std::unique_ptr<Logger> log;
  std::unique_ptr<PatchRunState> state;
  FakeLauncherWindow window;
  std::unique_ptr<LauncherSequence> sequence;
};

// The path of the only call, which must begin with prefix; empty when the calls are not that.
// A file system that ignores letter case may name the file as the settings spell it, so tests
// compare what the path reaches (SameFile), not its letters.
std::string OnlyCallPath(const Lines& calls, const std::string& prefix) {
  if (calls.size() != 1 || !calls[0].starts_with(prefix)) return {};
  return calls[0].substr(prefix.size());
}

const Lines kCreation = {"Morvo Patcher Log",
                         "-----------------",
                         "",
                         "Initialisation de l'interface ...",
                         "Initialisation termin\xE9.",
                         ""};

TEST_F(LauncherSequenceTest, MusicLinesFollowTheFileAndThePlayer) {
  settings.MusicEnabled = true;
  settings.MusicFile = "sons\\Th\xE8me.mp3";  // Windows-1252, '\' between folders
  std::filesystem::create_directories(FsPath(game / "Sons"));
  WriteFileBytes(game / "Sons/th\u00E8me.mp3", "mp3");

  ASSERT_TRUE(Make().OnCreate());
  const std::string load = "Chargement du fichier MP3 (sons\\Th\xE8me.mp3) ...";
  Lines expected = kCreation;
  expected.insert(expected.end(), {load, "Chargement du fichier MP3 termin\xE9.", ""});
  EXPECT_EQ(Log(), expected);
  EXPECT_TRUE(SameFile(OnlyCallPath(window.calls, "open music "), game / "Sons/th\u00E8me.mp3"))
      << ::testing::PrintToString(window.calls);

  // The player refuses the file: it has shown its own error, the log says no more.
  window = FakeLauncherWindow();
  window.musicOpens = false;
  ASSERT_TRUE(Make().OnCreate());
  expected = kCreation;
  expected.push_back(load);
  EXPECT_EQ(Log(), expected);

  ASSERT_TRUE(std::filesystem::remove(FsPath(game / "Sons/th\u00E8me.mp3")));
  window = FakeLauncherWindow();
  ASSERT_TRUE(Make().OnCreate());
  expected.insert(expected.end(), {"Chargement du fichier MP3 :  Erreur.", ""});
  EXPECT_EQ(Log(), expected);
  EXPECT_TRUE(window.calls.empty());
}

TEST_F(LauncherSequenceTest, UnreadableConfigurationOrSkinShowsTheErrorBoxAndStops) {
  const std::string box =
      "error box Impossible de lire Config.mpc !\r\n\r\nConfig.mpc reading failure !";
  window.builds = false;
  EXPECT_FALSE(Make().OnCreate());
  EXPECT_EQ(window.calls, Lines{box});
  EXPECT_EQ(Log(), Lines(kCreation.begin(), kCreation.begin() + 4));
  EXPECT_FALSE(sequence->FirstActivationPending());

  WriteFileBytes(game / "Config.mpc", "not a configuration");
  window = FakeLauncherWindow();
  EXPECT_FALSE(Make(false).OnCreate());
  EXPECT_EQ(window.calls, Lines{box});
}

TEST_F(LauncherSequenceTest, StartRunsTheGameInItsFolderWithItsParametersInUtf8) {
  settings.MusicEnabled = true;
  settings.GameExe = "bin\\Game.exe";
  settings.GameParameters = "-nom \"Caf\xE9\"";
  std::filesystem::create_directories(FsPath(game / "BIN"));
  WriteFileBytes(game / "BIN/game.EXE", "#!");
  ASSERT_TRUE(Make().OnCreate());
  window.calls.clear();

  sequence->OnStartClicked();
  ASSERT_EQ(window.started.size(), 1u);
  EXPECT_TRUE(SameFile(window.started[0].program, game / "BIN/game.EXE"))
      << window.started[0].program;
  EXPECT_EQ(window.started[0].parameters, "-nom \"Caf\u00E9\"");
  EXPECT_EQ(window.started[0].workingDir, game.path());
  EXPECT_EQ(window.calls, (Lines{"stop music", "click, waiting",
                                 "start program " + window.started[0].program, "close"}));

  // A name that cannot be resolved inside the folder is joined as it stands; a failed start
  // shows the error box and the window still closes.
  settings.GameExe = "..\\Jeu.exe";
  window = FakeLauncherWindow();
  window.startSucceeds = false;
  ASSERT_TRUE(Make().OnCreate());
  sequence->OnStartClicked();
  ASSERT_EQ(window.started.size(), 1u);
  EXPECT_EQ(window.started[0].program, game.path() + ".." + kFolderSeparators[0] + "Jeu.exe");
  EXPECT_EQ(Lines(window.calls.end() - 2, window.calls.end()),
            (Lines{"error box M0..\\Jeu.exe", "close"}));
}

// The news page completes while the Quit click is heard: the process ends, and the patch run
// queued by the page never starts.
TEST_F(LauncherSequenceTest, QuitEndsTheProcessWhateverTheClickWaitLetsRun) {
  ASSERT_TRUE(Make().OnCreate());
  sequence->OnActivate();
  ASSERT_TRUE(sequence->WaitingForNews());
  window.duringClick = [this] { sequence->OnNewsPageLoaded(); };

  sequence->OnQuitClicked();

  EXPECT_EQ(server.Requests("/list.ini"), 0);
  EXPECT_FALSE(sequence->RunOutcome().Finished);
  EXPECT_EQ(Lines(window.calls.end() - 3, window.calls.end()),
            (Lines{"status M2", "close", "end process"}));
}

TEST_F(LauncherSequenceTest, TheRunStartsOnlyOnceTheNewsHandlerHasReturned) {
  ASSERT_TRUE(Make().OnCreate());
  sequence->OnNewsPageLoaded();  // before the page was asked for: nothing
  EXPECT_TRUE(window.queued.empty());
  sequence->OnActivate();
  sequence->OnNewsPageLoaded();
  sequence->OnNewsPageLoaded();  // later loads of the page: nothing more
  EXPECT_EQ(server.Requests("/list.ini"), 0);
  ASSERT_EQ(window.queued.size(), 1u);
  window.RunQueued();
  EXPECT_EQ(server.Requests("/list.ini"), 1);
  EXPECT_TRUE(sequence->RunOutcome().Finished);
  EXPECT_TRUE(window.startShown);
}

}  // namespace
