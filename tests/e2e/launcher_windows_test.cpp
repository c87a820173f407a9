// MorvoPatcher.exe, the Windows launcher, under Wine on an Xvfb display against nginx: its
// window's pixels against the skin, a whole run beside the Linux patchrun's, the self-update
// handoff across real Windows processes, Start running a Windows stand-in game, and a news page
// that never completes. The Windows build's tests run these: MORVO_WINDOWS_LAUNCHER names the
// program (VKA.dll beside it), MORVO_WINDOWS_STAND_IN_GAME the game, MORVO_WINE_RUNNER what
// starts them.
#include <filesystem>
#include <iostream>
#include <thread>

#include "LauncherTest.h"
#include "RgbImage.h"
#include "TestPaths.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Rect {
  int X, Y, Width, Height;
  bool Contains(int x, int y) const { return x >= X && y >= Y && x < X + Width && y < Y + Height; }
};

// The demo skin's layout (demo/launcher.txt.in): the panel under an 88-pixel banner band.
constexpr int kBannerHeight = 88;
constexpr Rect kWindowSize{0, 0, 545, 380};
struct SkinnedButton {
  const char* Name;
  Rect Bounds, Normal, Hover;
};
constexpr SkinnedButton kButtons[] = {
    {"Start", {20, 334, 110, 30}, {0, 380, 110, 30}, {0, 410, 110, 30}},
    {"Quit", {415, 334, 110, 30}, {110, 380, 110, 30}, {110, 410, 110, 30}},
    {"About", {217, 334, 110, 30}, {220, 380, 110, 30}, {220, 410, 110, 30}},
};
// What the window draws over the background besides the buttons: the news band with its
// border strips, and the status line with the gauge and its frame.
constexpr Rect kNewsBand{14, 64, 517, 212};
constexpr Rect kStatusRow{16, 280, 513, 38};
constexpr Rgb kMagenta{255, 0, 255};

const FileMap kInstalledData = {
    {"Textes/intro.txt", "Il etait une fois. (1)"},
    {"Regles.txt", "Regles, version 1."},
};

class LauncherUnderWine : public LauncherTest {
 protected:
  void SetUp() override {
    launcherExe_ = EnvironmentValue("MORVO_WINDOWS_LAUNCHER");
    standInGame_ = EnvironmentValue("MORVO_WINDOWS_STAND_IN_GAME");
    wineRunner_ = EnvironmentValue("MORVO_WINE_RUNNER");
    if (launcherExe_.empty() || standInGame_.empty() || wineRunner_.empty()) {
      GTEST_SKIP() << "the Windows build's tests run this, with MORVO_WINDOWS_LAUNCHER, "
                      "MORVO_WINDOWS_STAND_IN_GAME and MORVO_WINE_RUNNER";
    }
    for (const std::string& built : {launcherExe_, VkaDll(), standInGame_})
      ASSERT_TRUE(fs::exists(built)) << built;
    LauncherTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    static const std::string wineAnswer = ProbeWine();
    if (wineAnswer.empty()) return;
    if (wineAnswer.rfind("skip: ", 0) == 0) GTEST_SKIP() << wineAnswer;
    FAIL() << wineAnswer;
  }

  // The stand-in game run once by itself: whether Wine runs programs of this build here.
  // Empty when it does; "skip: ..." when this machine cannot; otherwise what went wrong.
  std::string ProbeWine() const {
    const std::string probe = FreshWorkDir("LauncherUnderWine.probe");
    fs::copy_file(standInGame_, probe + "/game.exe");
    RunOptions options = OutputTo(probe + "/wine.out", std::chrono::minutes(3));
    // On the display: the first program of a Wine session sets up the desktop that the
    // session's windows share, which then can show no window if it started without one.
    options.extraEnvironment = {"DISPLAY=" + display_->Name()};
    const RunResult ran = RunProgram({wineRunner_, probe + "/game.exe", "probe"}, options);
    if (ran.exitCode == kWineCannotRun) return "skip: " + ran.output;
    if (ran.exitCode != 0)
      return "the stand-in game under Wine: exit " + std::to_string(ran.exitCode) + ", " +
             ran.output;
    if (ReadFileBytes(probe + "/game-started.txt").find("parameter: probe\r\n") ==
        std::string::npos)
      return "the stand-in game under Wine wrote no record in " + probe;
    return "";
  }

  std::string BuiltLauncher() const override { return launcherExe_; }
  std::string LauncherName() const override { return "MorvoPatcher.exe"; }
  std::vector<std::string> LauncherCommand(const std::string& gameDir) const override {
    return {wineRunner_, gameDir + "/" + LauncherName()};
  }
  std::vector<std::string> LauncherEnvironment() const override { return {}; }
  GamePrograms Programs() const override {
    return {{{launcherExe_, "MorvoPatcher.exe"}, {VkaDll(), "VKA.dll"}, {standInGame_, "game.exe"}},
            "game.exe"};
  }

  std::string VkaDll() const { return (fs::path(launcherExe_).parent_path() / "VKA.dll").string(); }

  // The display as pixels; also kept as name.png beside the test's files.
  std::optional<RgbImage> Grab(const std::string& name) {
    const std::string png = work_ + "/" + name + ".png", ppm = work_ + "/" + name + ".ppm";
    if (!Screenshot(png) || !Screenshot(ppm)) return std::nullopt;
    std::cout << "[screenshot] " << png << std::endl;
    return ReadPpm(ppm);
  }

  // What the launcher left when it did not reach the end of its run.
  std::string LauncherReport(ChildProcess& launcher) {
    const std::string state =
        launcher.Running() ? "still running" : "ended with " + std::to_string(launcher.Wait({}));
    return "the launcher is " + state + "; log:\n" +
           ReadFileBytes(GamePath("MorvoPatcherLog.txt")) + "\noutput:\n" +
           ReadFileBytes(work_ + "/launcher.out");
  }

  // What the stand-in game recorded once Start ran it (empty when it did not run in time).
  std::string GameRecord(std::chrono::seconds timeout = std::chrono::seconds(30)) {
    const auto deadline = Clock::now() + timeout;
    while (!fs::exists(GamePath("game-started.txt")) && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return ReadFileBytes(GamePath("game-started.txt"));
  }

  // Start clicked, the stand-in game ran in the game folder with the demo's parameters.
  void ExpectStartRunsTheGame() {
    ASSERT_TRUE(ClickStart());
    const std::string record = GameRecord();
    std::string folder = WinePath(fs::canonical(game_).string());
    EXPECT_NE(record.find("folder: " + folder + "\r\n"), std::string::npos) << record;
    // GameParameters = --player "Joueur de démonstration": Windows-1252 in the configuration,
    // the same words on the game's command line.
    EXPECT_NE(record.find("parameter: --player\r\nparameter: Joueur de d\xC3\xA9monstration\r\n"),
              std::string::npos)
        << record;
  }

  std::string launcherExe_, standInGame_, wineRunner_;
};

// How many pixels of the button's place show what its skin picture holds, where the picture
// is opaque and where it is magenta (the background must show through there).
struct ButtonMatch {
  int Opaque = 0, OpaqueMatching = 0, Keyed = 0, KeyedMatching = 0;
  bool Shows() const {
    // The caption is drawn over the middle of the picture: most, not all, opaque pixels.
    return Keyed > 0 && KeyedMatching == Keyed && OpaqueMatching * 10 >= Opaque * 8;
  }
};

ButtonMatch MatchButton(const RgbImage& screen, const RgbImage& skin, int panelX, int panelY,
                        const Rect& bounds, const Rect& picture) {
  ButtonMatch match;
  for (int y = 0; y < bounds.Height; ++y)
    for (int x = 0; x < bounds.Width; ++x) {
      const Rgb shown = screen.At(panelX + bounds.X + x, panelY + bounds.Y + y);
      const Rgb drawn = skin.At(picture.X + x, picture.Y + y);
      if (drawn == kMagenta) {
        ++match.Keyed;
        match.KeyedMatching += shown == skin.At(bounds.X + x, bounds.Y + y);
      } else {
        ++match.Opaque;
        match.OpaqueMatching += shown == drawn;
      }
    }
  return match;
}

std::string Describe(const ButtonMatch& match) {
  return std::to_string(match.OpaqueMatching) + "/" + std::to_string(match.Opaque) +
         " opaque and " + std::to_string(match.KeyedMatching) + "/" + std::to_string(match.Keyed) +
         " transparent pixels match";
}

TEST_F(LauncherUnderWine, WindowShowsTheSkinAndSwapsButtonPicturesUnderTheMouse) {
  MakeGame({});
  AddFilesPatch("p0001.pak", {{"Extras/notes.txt", "Notes."}});
  PublishList("patchlist.ini", {"p0001.pak"});
  auto launcher = StartLauncher();
  ASSERT_TRUE(WaitForLogEnd(std::chrono::seconds(90))) << LauncherReport(*launcher);
  const std::optional<WindowGeometry> window = LauncherWindow(std::chrono::seconds(10));
  ASSERT_TRUE(window) << "no visible window named \"Morvo Patcher\"";
  // WindowSize under the banner band, centred on the 1024 x 768 display.
  EXPECT_EQ(window->Width, kWindowSize.Width);
  EXPECT_EQ(window->Height, kBannerHeight + kWindowSize.Height);
  EXPECT_NEAR(window->X, (1024 - window->Width) / 2, 1);
  EXPECT_NEAR(window->Y, (768 - window->Height) / 2, 1);

  const std::optional<RgbImage> skin = ReadBmp24(scratch_ + "/game-art/skin.bmp");
  ASSERT_TRUE(skin);
  const int panelX = window->X, panelY = window->Y + kBannerHeight;
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the last status line paints
  std::optional<RgbImage> screen = Grab("screenshot-windows");
  ASSERT_TRUE(screen);

  // The background picture, pixel for pixel, wherever nothing is drawn over it.
  int differing = 0;
  std::string firstDifference;
  for (int y = 0; y < kWindowSize.Height; ++y)
    for (int x = 0; x < kWindowSize.Width; ++x) {
      bool covered = kNewsBand.Contains(x, y) || kStatusRow.Contains(x, y);
      for (const SkinnedButton& button : kButtons)
        covered = covered || button.Bounds.Contains(x, y);
      if (covered || screen->At(panelX + x, panelY + y) == skin->At(x, y)) continue;
      if (differing++ == 0)
        firstDifference = "first at " + std::to_string(x) + "," + std::to_string(y);
    }
  EXPECT_EQ(differing, 0) << "background pixels differ from the skin, " << firstDifference;

  // Each button in its normal picture, then the one under the mouse in its hover picture.
  for (const SkinnedButton& button : kButtons) {
    const ButtonMatch normal =
        MatchButton(*screen, *skin, panelX, panelY, button.Bounds, button.Normal);
    EXPECT_TRUE(normal.Shows()) << button.Name << " normal: " << Describe(normal);
  }
  for (const SkinnedButton& hovered : kButtons) {
    SCOPED_TRACE(std::string("mouse over ") + hovered.Name);
    ASSERT_TRUE(MoveMouse(panelX + hovered.Bounds.X + hovered.Bounds.Width / 2,
                          panelY + hovered.Bounds.Y + hovered.Bounds.Height / 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    screen = Grab(std::string("hover-") + hovered.Name);
    ASSERT_TRUE(screen);
    for (const SkinnedButton& button : kButtons) {
      const bool over = &button == &hovered;
      const ButtonMatch match = MatchButton(*screen, *skin, panelX, panelY, button.Bounds,
                                            over ? button.Hover : button.Normal);
      EXPECT_TRUE(match.Shows()) << button.Name << (over ? " hover: " : " normal: ")
                                 << Describe(match);
    }
  }
  EXPECT_TRUE(launcher->Running()) << "hovering ended the launcher";
}

TEST_F(LauncherUnderWine, WholeRunMatchesTheLinuxRunAndStartRunsTheGameInItsFolder) {
  MakeGame({{"data.vka", kInstalledData}});
  AddFilesPatch("p0001.pak", {{"Extras/notes.txt", "Notes de version."},
                              {"Extras/Cartes/donjon.map", SampleBytes(1, 20000)}});
  AddArchivePatch("p0002.pak", "data.vka", {{"Textes/intro.txt", "Il etait une fois. (2)"}});
  AddArchivePatch("p0003.pak", "data.vka", {{"Cartes/foret.map", SampleBytes(3, 30000)}});
  PublishList("patchlist.ini", {"p0001.pak", "p0002.pak", "p0003.pak"});
  const std::string linuxGame = work_ + "/linux-game";
  fs::copy(game_, linuxGame, fs::copy_options::recursive);

  auto launcher = StartLauncher();
  ASSERT_TRUE(WaitForLogEnd(std::chrono::seconds(120))) << LauncherReport(*launcher);
  const RunResult onLinux = RunPatchrun(linuxGame);
  ASSERT_EQ(onLinux.exitCode, 0) << onLinux.output;

  const std::string log = ReadFileBytes(GamePath("MorvoPatcherLog.txt"));
  EXPECT_NE(log.find("Repack des fichiers VKA"), std::string::npos) << log;
  EXPECT_EQ(log, ReadFileBytes(linuxGame + "/MorvoPatcherLog.txt"));
  const FolderContent linux = GameContent(linuxGame);
  const FolderContent windows = GameContent();
  EXPECT_EQ(windows.files, linux.files) << DescribeDifferences(linux, windows);
  EXPECT_TRUE(windows.badArchives.empty()) << DescribeDifferences(linux, windows);
  EXPECT_EQ(windows.files.at("data.vka"),
            ArchiveContentOf({{"Textes/intro.txt", "Il etait une fois. (2)"},
                              {"Regles.txt", "Regles, version 1."},
                              {"Cartes/foret.map", SampleBytes(3, 30000)}}));

  ExpectStartRunsTheGame();
  // Start closes the window, which ends the program.
  EXPECT_EQ(launcher->Wait(std::chrono::seconds(30)), 0);
}

TEST_F(LauncherUnderWine, RestartsForANewConfigurationThenReplacesItselfAndStartsTheGame) {
  MakeGame({{"data.vka", kInstalledData}}, {}, "list1.ini");
  // The new configuration sends the restarted launcher to the second list.
  const std::string newConfig = scratch_ + "/config2/Config.mpc";
  ASSERT_TRUE(MakeConfig(newConfig, nginx_->Url(),
                         {{"PatchListUrl", nginx_->Url("/list2.ini")}, {"GameExe", "game.exe"}},
                         scratch_ + "/config2"));
  // The launcher's own bytes with a mark behind them: a different file that still runs.
  const std::string newProgram = ReadFileBytes(launcherExe_) + "\nnew launcher build\n";
  WriteFiles(scratch_ + "/program", {{"MorvoPatcher.exe", newProgram}});

  AddFilesPatch("p0001.pak", {{"Extras/notes.txt", "Notes."}});
  AddArchivePatch("p0002.pak", "data.vka", {{"Regles.txt", "Regles, version 2."}});
  AddPatch("p0003.pak", {{newConfig, "Config.mpc"}});
  AddPatch("p0004.pak", {{scratch_ + "/program/MorvoPatcher.exe", "MorvoPatcher.exe"}});
  PublishList("list1.ini", {"p0001.pak", "p0002.pak", "p0003.pak"});
  PublishList("list2.ini", {"p0004.pak"});

  auto first = StartLauncher();
  // First process: list1, install, restart; second: list2, self-update through the copy
  // (UPDATE_1), whose replaced program (UPDATE_2) runs normally and finds nothing new.
  const std::string unfinished = WaitForSelfUpdateChain(std::chrono::seconds(180));
  ASSERT_TRUE(unfinished.empty()) << unfinished;

  EXPECT_EQ(nginx_->RequestCount("/list1.ini"), 1)
      << "the restarted launcher read the old configuration";
  EXPECT_EQ(ReadFileBytes(GamePath("MorvoPatcher.exe")), newProgram);
  EXPECT_EQ(ReadFileBytes(GamePath("Config.mpc")), ReadFileBytes(newConfig));
  EXPECT_EQ(ReadFileBytes(GamePath("Extras/notes.txt")), "Notes.");
  EXPECT_EQ(GameContent().files["data.vka"],
            ArchiveContentOf({{"Textes/intro.txt", "Il etait une fois. (1)"},
                              {"Regles.txt", "Regles, version 2."}}));
  // One launcher is left, the replaced program, and it shows its window.
  EXPECT_EQ(ProcessesStartedAs(GamePath("MorvoPatcher.exe")).size(), 1u);
  ASSERT_TRUE(LauncherWindow(std::chrono::seconds(20)));
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the Start button paints
  ExpectStartRunsTheGame();
}

TEST_F(LauncherUnderWine, NewsPageThatNeverCompletesStillLetsTheRunEnd) {
  SilentServer news;
  ASSERT_TRUE(news.Running());
  MakeGame({}, {{"NewsUrl", news.Url("/news.html")}});
  AddFilesPatch("p0001.pak", {{"Extras/notes.txt", "Notes."}});
  PublishList("patchlist.ini", {"p0001.pak"});

  const auto started = Clock::now();
  auto launcher = StartLauncher();
  ASSERT_TRUE(WaitForLogEnd(std::chrono::seconds(90))) << LauncherReport(*launcher);
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started).count();
  std::cout << "[news never answering] the run ended after " << seconds << " s; the news page "
            << (news.Connections() > 0 ? "was requested" : "was never requested") << std::endl;
  EXPECT_EQ(ReadFileBytes(GamePath("Extras/notes.txt")), "Notes.");
  const std::vector<std::string> lines = LogLines(GamePath("MorvoPatcherLog.txt"));
  EXPECT_EQ(CountLines(lines,
                       "R\xE9"
                       "cup\xE9ration de la page web termin\xE9"
                       "e."),
            1);
  if (news.Connections() > 0) {
    // The page was asked for and never came: the run waited for its bounded time first.
    EXPECT_GE(seconds, 15);
  }
  ExpectStartRunsTheGame();
}

}  // namespace
