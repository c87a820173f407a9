// The lock as the whole run holds it, against the in-process HTTP server.
#include <gtest/gtest.h>

#include "RunLockTestSupport.h"
#include "RunTestSupport.h"
#include "config/ConfigWriter.h"
#include "engine/WindowlessRun.h"

using namespace morvo;

namespace {

// The lock is held from recovery to the end of the run, and free as soon as it has ended.
TEST(RunLock, HeldFromRecoveryToTheEndOfTheRun) {
  TestHttpServer server;
  TempDir game;
  server.Serve("/news.html", "news");
  server.Serve("/list.ini", PatchList({"deny_play=0"}, {server.Url("/p.pak")}));
  server.Serve("/p.pak", Container({{"a.txt", "a.txt", "alpha"}}));
  ASSERT_TRUE(SaveConfig(game.path(), RunSettings(server)));
  HookedWindow window;
  int pumpsWhileFree = 0;
  window.hook = [&] {
    OtherLauncher other(game.path());
    if (other.Lock()) ++pumpsWhileFree;
  };

  ASSERT_TRUE(RunWithoutWindow(game.path(), game / "MorvoPatcher", window).Finished);

  EXPECT_EQ(pumpsWhileFree, 0);
  EXPECT_GT(window.eventPumps, 5);
  OtherLauncher after(game.path());
  EXPECT_TRUE(after.Lock());
}

// The run tells the lock the configured Language.
TEST(RunLock, TheRunWaitsWithTheTextOfTheConfiguredLanguage) {
  TestHttpServer server;
  TempDir game;
  server.Serve("/news.html", "news");
  server.Serve("/list.ini", PatchList({"deny_play=0"}, {}));
  PatcherSettings settings = RunSettings(server);
  settings.Language = 1;
  ASSERT_TRUE(SaveConfig(game.path(), settings));
  OtherLauncher first(game.path());
  ASSERT_TRUE(first.Lock());
  HookedWindow window;
  window.hook = [&] {
    const std::string shown = window.statusTexts.empty() ? "" : window.statusTexts.back();
    if (shown == kWaitingForOtherRunEnglish || shown == kWaitingForOtherRunFrench) first.Stop();
  };

  ASSERT_TRUE(RunWithoutWindow(game.path(), game / "MorvoPatcher", window).Finished);

  EXPECT_NE(
      std::find(window.statusTexts.begin(), window.statusTexts.end(), kWaitingForOtherRunEnglish),
      window.statusTexts.end());
}

}  // namespace
