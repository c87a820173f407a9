// Two launchers in one game folder: the second waits, with a live window, until the first has
// finished its run.
#include "engine/RunLock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "FakeWindow.h"
#include "RunTestSupport.h"
#include "config/ConfigWriter.h"
#include "engine/WindowlessRun.h"

using namespace morvo;

namespace {

// What another launcher holds: the lock on the folder's lock file, through its own descriptor.
class OtherLauncher {
 public:
  explicit OtherLauncher(const std::string& folder)
      : fd_(::open((folder + kRunLockFileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {}
  ~OtherLauncher() { Stop(); }
  bool Lock() { return ::flock(fd_, LOCK_EX | LOCK_NB) == 0; }
  void Stop() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

class HookedWindow : public FakeWindow {
 public:
  void ProcessPendingEvents() override {
    FakeWindow::ProcessPendingEvents();
    if (hook) hook();
  }
  std::function<void()> hook;
};

// The waiting text is chosen by Language as the About window's lines are: 1 English, any
// other value French.
TEST(RunLock, SecondLauncherWaitsWithALiveWindowUntilTheFirstEnds) {
  const std::pair<std::int32_t, const char*> languages[] = {{0, kWaitingForOtherRunFrench},
                                                            {1, kWaitingForOtherRunEnglish},
                                                            {7, kWaitingForOtherRunFrench}};
  for (const auto& [language, text] : languages) {
    SCOPED_TRACE(language);
    TempDir game;
    OtherLauncher first(game.path());
    ASSERT_TRUE(first.Lock());
    HookedWindow window;
    window.hook = [&] {
      if (window.eventPumps == 3) first.Stop();
    };
    RunLock lock(game / kRunLockFileName, window, std::chrono::milliseconds(1));

    lock.Acquire(language);

    EXPECT_TRUE(lock.Held());
    EXPECT_EQ(window.statusTexts, std::vector<std::string>{text});
    EXPECT_GE(window.eventPumps, 3);
  }
}

TEST(RunLock, FolderWithoutRoomForTheLockRunsUnlocked) {
  FakeWindow window;
  RunLock lock("/nonexistent-folder/MorvoPatcher.lock", window, std::chrono::milliseconds(1));
  lock.Acquire(0);
  EXPECT_FALSE(lock.Held());
  EXPECT_TRUE(window.calls.empty());
}

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
