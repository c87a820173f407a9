// An installation pass killed at random instants, then the start-up recovery (finish pending
// repacks, find the registered containers still present, install them), gives the same game
// folder as a pass that was never interrupted.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "ChildRun.h"
#include "InstallPassScenario.h"
#include "install/InstallPatches.h"

using namespace morvo;

namespace {

constexpr int kAttempts = 16;
constexpr int kTimedPasses = 3;

std::chrono::steady_clock::duration TimedPass(GameFolder& folder) {
  PrepareThreeContainerGame(folder);
  const auto started = std::chrono::steady_clock::now();
  InstallPatches(folder.context);
  return std::chrono::steady_clock::now() - started;
}

TEST(InstallKill, KilledPassRecoversToTheSameGameFolder) {
  GameFolder reference;
  // The shortest of a few passes: one flush that waits for other programs' writes to the same
  // disk would draw the instants far beyond an ordinary pass.
  auto passTime = TimedPass(reference);
  for (int pass = 1; pass < kTimedPasses; ++pass) {
    GameFolder timed;
    passTime = std::min(passTime, TimedPass(timed));
  }
  const auto expected = Snapshot(reference);
  ASSERT_EQ(expected.at("data.vka").size(), 301u);  // merged and repacked: every name once

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  const auto spanUs = std::chrono::duration_cast<std::chrono::microseconds>(passTime).count();
  std::uniform_int_distribution<long> instant(0, spanUs + spanUs / 5);
  int killedMidway = 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    GameFolder folder;
    PrepareThreeContainerGame(folder);
    killedMidway += RunInChild([&] { InstallPatches(folder.context); },
                               std::chrono::microseconds(instant(random)))
                        .killedWhileWorking;

    RecoverAtStart(folder);
    EXPECT_EQ(Snapshot(folder), expected) << "attempt " << attempt;
  }
  RecordProperty("killed_midway", killedMidway);
  std::printf("pass %lld us; %d of %d kills landed during the pass\n",
              static_cast<long long>(spanUs), killedMidway, kAttempts);
  // Instants are drawn over the pass and a little beyond: most kills must land in it, or the
  // attempts proved nothing about recovery.
  EXPECT_GE(killedMidway, kAttempts / 2);
}

}  // namespace
