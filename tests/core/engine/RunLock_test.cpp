// Two launchers in one game folder: the second waits, with a live window, until the first has
// finished its run.
#include "engine/RunLock.h"

#include <gtest/gtest.h>

#include "RunLockTestSupport.h"
#include "TempDir.h"

using namespace morvo;

namespace {

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

}  // namespace
