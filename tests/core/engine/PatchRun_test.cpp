// Whole runs against the test server, from the window's first lines to "Fin du log.", with the
// log compared byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "PatchRunFixture.h"

using namespace morvo;

namespace {

TEST_F(PatchRunTest, NoRegisterAndAnUnreachableListEndAtOnceWithStart) {
  server.Fail("/list.ini", 404);

  const WindowlessRunResult result = Run();

  EXPECT_TRUE(result.ConfigRead);
  EXPECT_TRUE(result.Finished);
  EXPECT_EQ(Log(), Join({kOpening,
                         {"  Erreur :  T\xE9l\xE9"
                          "chargement impossible (HTTP 404)."},
                         kListDone,
                         {kEnd}}));
  EXPECT_EQ(window.statusTexts, (Lines{"M1", "M2", "M3", "M4", "M6"}));
  EXPECT_TRUE(window.startShown);
  EXPECT_FALSE(std::filesystem::exists(game / "MorvoPatchsList.ini"));
  ExpectNoTemporaryFiles();
}

TEST_F(PatchRunTest, DenyPlayWithoutNewPatchesKeepsStartHidden) {
  WriteFileBytes(game / "MorvoPatchsList.ini", "[patchs]\r\np0001.pak=1\r\n");
  Publish({"deny_play=1"}, {"p0001.pak"});

  ASSERT_TRUE(Run().Finished);

  EXPECT_EQ(Log(), Join({kOpening, kListDone, {kEnd}}));
  EXPECT_EQ(window.statusTexts.back(), "M6");
  EXPECT_FALSE(window.startShown);
  EXPECT_EQ(server.Requests("/p/p0001.pak"), 0);
}

TEST_F(PatchRunTest, DenyPlayWithNewPatchesInstallsThemAndKeepsStartHidden) {
  Publish({"deny_play=1"}, {"p0001.pak"});
  ServePatch("p0001.pak", "a.txt", "alpha");

  ASSERT_TRUE(Run().Finished);

  EXPECT_EQ(ReadFileBytes(game / "a.txt"), "alpha");
  EXPECT_EQ(window.statusTexts.back(), "M8");
  EXPECT_FALSE(window.startShown);
}

TEST_F(PatchRunTest, DenyGetpatchDownloadsNothingAndDenyPlayStillDecides) {
  Publish({"deny_getpatch=1"}, {"p0001.pak"});
  ServePatch("p0001.pak", "a.txt", "alpha");
  ASSERT_TRUE(Run().Finished);
  EXPECT_EQ(server.Requests("/p/p0001.pak"), 0);
  EXPECT_EQ(window.statusTexts.back(), "M6");
  EXPECT_TRUE(window.startShown);

  Publish({"deny_getpatch=1", "deny_play=1"}, {"p0001.pak"});
  ASSERT_TRUE(Run().Finished);
  EXPECT_FALSE(window.startShown);

  settings.ShowStart = false;
  Publish({"deny_play=0"}, {});
  ASSERT_TRUE(Run().Finished);
  EXPECT_FALSE(window.startShown);
}

TEST_F(PatchRunTest, TwoNewPatchesAreDownloadedRegisteredAndInstalledInOrder) {
  Publish({"deny_play=0"}, {"p0001.pak", "p0002.pak"});
  ServePatch("p0001.pak", "a.txt", "alpha");
  ServePatch("p0002.pak", "b.txt", "bet");

  ASSERT_TRUE(Run().Finished);

  EXPECT_EQ(Log(), Join({kOpening,
                         kListDone,
                         {WithCount(kPatchesFetch, 2), "  " + server.Url("/p/p0001.pak"),
                          "  " + server.Url("/p/p0002.pak")},
                         kPatchesDone,
                         {"Installation des patchs (2) ..."},
                         Installed("p0001.pak", "a.txt", 5),
                         Installed("p0002.pak", "b.txt", 3),
                         kInstallDone,
                         {kEnd}}));
  EXPECT_EQ(Register(), "[patchs]\r\np0001.pak=1\r\np0002.pak=1\r\n");
  EXPECT_EQ(ReadFileBytes(game / "a.txt"), "alpha");
  EXPECT_EQ(ReadFileBytes(game / "b.txt"), "bet");
  EXPECT_TRUE(window.startShown);
  EXPECT_EQ(window.position, 0);
  EXPECT_TRUE(window.started.empty());
  ExpectNoTemporaryFiles();

  // The texts in their order, each progress line once per run of equal texts.
  Lines shown;
  for (const std::string& text : window.statusTexts) {
    const std::string kind = text.rfind("M9 ", 0) == 0 ? "M9 " + text.substr(3, 9) : text;
    if (shown.empty() || shown.back() != kind) shown.push_back(kind);
  }
  EXPECT_EQ(shown, (Lines{"M1", "M2", "M3", "M4", "M5", "M9 p0001.pak", "M9 p0002.pak", "M7",
                          "M7 (1/2 - a.txt) ...", "M7 (2/2 - b.txt) ...", "M8"}));
}

// A failed patch is neither installed nor registered, the run goes on to its end, and the next
// run fetches only that one again.
TEST_F(PatchRunTest, FailedPatchIsFetchedAgainByTheNextRun) {
  Publish({"deny_play=0"}, {"p0001.pak", "p0002.pak", "p0003.pak"});
  server.Fail("/p/p0001.pak", 404);
  server.ShortBody("/p/p0002.pak", Container({{"b.txt", "b.txt", std::string(5000, 'b')}}), 100);
  ServePatch("p0003.pak", "c.txt", "gamma");

  ASSERT_TRUE(Run().Finished);

  const Lines log = Log();
  EXPECT_EQ(
      log[std::find(log.begin(), log.end(), "  " + server.Url("/p/p0001.pak")) - log.begin() + 1],
      "    Erreur :  T\xE9l\xE9"
      "chargement impossible (HTTP 404).");
  EXPECT_EQ(log.back(), kEnd);
  EXPECT_EQ(Register(), "[patchs]\r\np0003.pak=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(game / "b.txt"));
  EXPECT_EQ(ReadFileBytes(game / "c.txt"), "gamma");
  EXPECT_TRUE(window.startShown);
  ExpectNoTemporaryFiles();

  ServePatch("p0001.pak", "a.txt", "alpha");
  ServePatch("p0002.pak", "b.txt", "bet");
  ASSERT_TRUE(Run().Finished);

  EXPECT_EQ(Register(), "[patchs]\r\np0003.pak=1\r\np0001.pak=1\r\np0002.pak=1\r\n");
  EXPECT_EQ(ReadFileBytes(game / "a.txt"), "alpha");
  EXPECT_EQ(ReadFileBytes(game / "b.txt"), "bet");
  EXPECT_EQ(server.Requests("/p/p0003.pak"), 1);
}

TEST_F(PatchRunTest, NewConfigurationRestartsTheProgramAfterTheLogEnds) {
  PatcherSettings next = settings;
  next.Messages[6] = "Rien de neuf.";
  const TempDir source;
  ASSERT_TRUE(SaveConfig(source.path(), next));
  Publish({"deny_play=0"}, {"p0001.pak"});
  server.Serve("/p/p0001.pak",
               Container({{"Config.mpc", "Config.MPC", ReadFileBytes(source / "Config.mpc")}}));

  ASSERT_TRUE(Run().Finished);

  EXPECT_EQ(ReadFileBytes(game / "Config.mpc"), ReadFileBytes(source / "Config.mpc"));
  EXPECT_EQ(Log().back(), kEnd);
  ASSERT_EQ(window.started.size(), 1u);
  EXPECT_EQ(window.started[0].program, game / "MorvoPatcher");
  EXPECT_EQ(window.started[0].parameters, "");
  EXPECT_TRUE(window.closed);
  EXPECT_EQ(Lines(window.calls.end() - 3, window.calls.end()),
            (Lines{"show start", "start program " + (game / "MorvoPatcher"), "close"}));
}

TEST_F(PatchRunTest, ContainerLeftByAnInterruptedInstallationIsInstalledFirst) {
  WriteFileBytes(game / "MorvoPatchsList.ini", "[patchs]\r\np0001.pak=1\r\n");
  WriteFileBytes(game / "MorvoTMPp0001.pak", Container({{"a.txt", "a.txt", "alpha"}}));
  Publish({"deny_play=0"}, {"p0001.pak"});
  ServePatch("p0001.pak", "a.txt", "changed on the server");

  ASSERT_TRUE(Run().Finished);

  Lines opening = kOpening;
  const Lines recovery = Join({{"", "Installation des patchs non-install\xE9s (1) ..."},
                               Installed("p0001.pak", "a.txt", 5),
                               {"Installation des patchs non-install\xE9s termin\xE9"
                                "e.",
                                ""}});
  opening.insert(opening.begin() + 7, recovery.begin(), recovery.end());
  EXPECT_EQ(Log(), Join({opening, kListDone, {kEnd}}));
  EXPECT_EQ(ReadFileBytes(game / "a.txt"), "alpha");
  EXPECT_EQ(server.Requests("/p/p0001.pak"), 0);
  ExpectNoTemporaryFiles();
}

TEST_F(PatchRunTest, LogOffWritesNoLogAndUnreadableConfigurationRunsNothing) {
  settings.LogEnabled = false;
  server.Fail("/list.ini", 500);
  ASSERT_TRUE(Run().Finished);
  EXPECT_FALSE(std::filesystem::exists(game / "MorvoPatcherLog.txt"));

  WriteFileBytes(game / "Config.mpc", "not a configuration");
  window = FakeWindow();
  const WindowlessRunResult result = RunWithoutWindow(game.path(), game / "MorvoPatcher", window);
  EXPECT_FALSE(result.ConfigRead);
  EXPECT_FALSE(result.Finished);
  EXPECT_TRUE(window.calls.empty());
}

}  // namespace

namespace {

const char kFailedLine[] =
    "Erreur :  % patch(s) non install\xE9(s) > nouvel essai au prochain lancement.";

// What the player sees at the end of a run that left patches behind: not the configured
// "installed" text, and the log says it too.
TEST_F(PatchRunTest, PatchesThatCouldNotBeFetchedOrInstalledAreNamedAtTheEnd) {
  Publish({"deny_play=0"}, {"p0001.pak", "p0002.pak", "p0003.pak"});
  server.Fail("/p/p0001.pak", 404);
  server.Serve("/p/p0002.pak", "not a container");
  ServePatch("p0003.pak", "c.txt", "gamma");

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_EQ(result.FailedPatches, 2);
  EXPECT_EQ(window.statusTexts.back(),
            "2 patchs n'ont pas pu \xEAtre install\xE9s ; ils seront retent\xE9s au prochain "
            "lancement.");
  EXPECT_FALSE(Shown("M8"));
  const Lines log = Log();
  EXPECT_EQ(Lines(log.end() - 2, log.end()), (Lines{WithCount(kFailedLine, 2), kEnd}));
  EXPECT_TRUE(window.startShown);  // what the player may do stays as it was

  settings.Language = 1;
  ServePatch("p0001.pak", "a.txt", "alpha");
  server.Serve("/p/p0002.pak", "still not a container");
  ASSERT_EQ(Run().FailedPatches, 1);
  EXPECT_EQ(window.statusTexts.back(),
            "1 patch could not be installed; it will be retried at the next start.");
}

TEST_F(PatchRunTest, AGameFolderThatCannotBeWrittenIsSaidSoAndNothingIsFetched) {
  Publish({"deny_play=0"}, {"p0001.pak"});
  ServePatch("p0001.pak", "a.txt", "alpha");
  checks.FolderWritable = [](const std::string&) { return false; };

  const WindowlessRunResult result = Run();

  ASSERT_TRUE(result.Finished);
  EXPECT_FALSE(result.FolderWritable);
  EXPECT_EQ(server.Requests("/list.ini"), 0);
  EXPECT_EQ(window.statusTexts.back(),
            "Le dossier du jeu est prot\xE9g\xE9 en \xE9"
            "criture : aucun patch ne peut "
            "\xEAtre install\xE9.");
  const Lines log = Log();
  EXPECT_EQ(Lines(log.end() - 3, log.end()), (Lines{"Erreur :  Dossier du jeu prot\xE9g\xE9 en \xE9"
                                                    "criture > aucun patch "
                                                    "install\xE9.",
                                                    "", kEnd}));
  EXPECT_TRUE(window.startShown);
}

TEST_F(PatchRunTest, ADiskWithoutRoomForAContainerTwiceFailsItsDownloadBeforeWriting) {
  const std::string container = Container({{"a.txt", "a.txt", std::string(3000, 'a')}});
  Publish({"deny_play=0"}, {"p0001.pak"});
  server.Serve("/p/p0001.pak", container);
  checks.FreeSpace = [&](const std::string&) -> std::optional<std::uint64_t> {
    return 2 * container.size() - 1;
  };

  const WindowlessRunResult result = Run();

  EXPECT_EQ(result.FailedPatches, 1);
  EXPECT_FALSE(std::filesystem::exists(game / "a.txt"));
  const Lines log = Log();
  EXPECT_NE(std::find(log.begin(), log.end(),
                      "    Erreur :  T\xE9l\xE9"
                      "chargement impossible (not enough disk space)."),
            log.end());
  EXPECT_EQ(Register(), "[patchs]\r\n");
  ExpectNoTemporaryFiles();

  checks.FreeSpace = [&](const std::string&) -> std::optional<std::uint64_t> {
    return 2 * container.size();
  };
  EXPECT_EQ(Run().FailedPatches, 0);
  EXPECT_EQ(window.statusTexts.back(), "M8");
}

// A configuration that the recovery installs still restarts the launcher when the run then
// installs downloaded patches as well.
TEST_F(PatchRunTest, ConfigurationInstalledByTheRecoveryRestartsAfterALaterInstallation) {
  PatcherSettings next = settings;
  next.Messages[6] = "Rien de neuf.";
  const TempDir source;
  ASSERT_TRUE(SaveConfig(source.path(), next));
  WriteFileBytes(game / "MorvoPatchsList.ini", "[patchs]\r\np0001.pak=1\r\n");
  Publish({"deny_play=0"}, {"p0001.pak", "p0002.pak"});
  ServePatch("p0002.pak", "b.txt", "beta");
  EXPECT_TRUE(SaveConfig(game.path(), settings));
  WriteFileBytes(game / "MorvoTMPp0001.pak",
                 Container({{"Config.mpc", "Config.mpc", ReadFileBytes(source / "Config.mpc")}}));

  // Run() would write the settings again over the recovered configuration.
  window = FakeWindow();
  downloader = MakeSystemDownloader(options);
  PatchRunServices services;
  services.Download = downloader.get();
  ASSERT_TRUE(RunWithoutWindow(game.path(), game / "MorvoPatcher", window, services).Finished);

  EXPECT_EQ(ReadFileBytes(game / "b.txt"), "beta");
  EXPECT_EQ(window.statusTexts.back(), "M8");
  ASSERT_EQ(window.started.size(), 1u);
  EXPECT_EQ(window.started[0].program, game / "MorvoPatcher");
  EXPECT_TRUE(window.closed);
}

}  // namespace
