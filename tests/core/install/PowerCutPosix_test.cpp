// An installation pass whose power is cut at any point, then the launcher's next start, leaves
// the game folder as an uninterrupted pass does: what was not flushed is lost at the cut, so
// every file put in place must reach the disk before the container that could install it
// again is deleted.
#include <gtest/gtest.h>

#include "InstallPassScenario.h"
#include "PowerCutDisk.h"
#include "install/InstallPatches.h"

using namespace morvo;

namespace {

// Cut points spread evenly over the pass's calls, the last ones at its very end.
constexpr long kCuts = 24;

// The same pass on the ordinary disk. Where no power cut can be simulated, the order of its
// system calls proves the flushes instead (tests/powercut/check_flush_order.py traces it).
TEST(InstallPass, ThreeContainersOnAPlainDisk) {
  GameFolder folder;
  PrepareThreeContainerGame(folder);
  EXPECT_EQ(InstallPatches(folder.context), 0);
  const GameSnapshot files = Snapshot(folder);
  EXPECT_EQ(files.at("data.vka").size(), 301u);
  EXPECT_EQ(files.at("Config.mpc").at(0).second, std::string(kConfigMagic) + "new settings");
  EXPECT_EQ(files.count("new/b.bin"), 1u);
}

TEST(PowerCut, CutAnywhereInAPassRecoversToTheSameGameFolder) {
  const PowerCutDisk disk;
  if (!disk.Problem().empty()) GTEST_SKIP() << disk.Problem();

  GameFolder reference(disk.Root());
  PrepareThreeContainerGame(reference);
  disk.Command("sync");
  disk.Command("count");
  InstallPatches(reference.context);
  const long calls = disk.Calls();
  const GameSnapshot expected = Snapshot(reference);
  ASSERT_EQ(expected.at("data.vka").size(), 301u);  // merged and repacked: every name once
  ASSERT_GT(calls, kCuts);

  for (long cut = 1; cut <= kCuts; ++cut) {
    const long at = calls * cut / kCuts;
    GameFolder folder(disk.Root());
    PrepareThreeContainerGame(folder);
    disk.Command("sync");
    disk.Command("count");
    disk.Command("cut-at " + std::to_string(at));
    InstallPatches(folder.context);  // from the cut on, every call fails
    disk.Command("restore");

    RecoverAtStart(folder);
    EXPECT_EQ(Snapshot(folder), expected) << "power cut at call " << at << " of " << calls;
  }
}

}  // namespace
