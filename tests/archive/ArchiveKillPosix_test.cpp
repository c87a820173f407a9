// A merge or a repack killed at any instant leaves the archive readable: either as it was
// before the call or as the call makes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>

#include "ArchiveTestSupport.h"
#include "ChildRun.h"
#include "vka/vka.h"

using namespace morvo;

namespace vka::test {
namespace {

constexpr int kTrials = 30;

std::string randomBytes(std::mt19937& random, std::size_t size) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

// Entries of incompressible bytes stored raw, so each call has megabytes to move.
std::vector<EntrySpec> someEntries(std::mt19937& random, const std::string& prefix, int count) {
  std::vector<EntrySpec> entries;
  for (int i = 0; i < count; ++i) {
    entries.push_back({prefix + std::to_string(i % (count / 2 + 1)),
                       randomBytes(random, 20000 + random() % 100000), 0x01, true});
  }
  return entries;
}

// Runs `work` once to the end, then, from the same start each time, kills it at random
// instants over its whole run; `path` must then read as it was before or as it was after.
void killAtRandomInstants(const std::string& path, const std::function<void()>& work) {
  const Bytes initial = readBytes(path);
  const std::string before = snapshot(path);
  // The shortest of three runs: the first, on cold caches, is the slowest, and instants beyond
  // the work would only find it finished.
  auto fullRun = RunInChild(work).workTime;
  for (int run = 0; run < 2; ++run) {
    writeBytes(path, initial);
    fullRun = std::min(fullRun, RunInChild(work).workTime);
  }
  const std::string after = snapshot(path);
  ASSERT_NE(after, before);
  ASSERT_EQ(after.rfind("result", 0), std::string::npos) << after;
  std::mt19937 random(12345);
  int untouched = 0;
  int finished = 0;
  int killedWhileWorking = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    writeBytes(path, initial);
    const std::chrono::microseconds delay(random() % (fullRun.count() + 1));
    killedWhileWorking += RunInChild(work, delay).killedWhileWorking;
    const std::string now = snapshot(path);
    ASSERT_TRUE(now == before || now == after)
        << "trial " << trial << " killed after " << delay.count() << " us:\n"
        << now;
    untouched += now == before;
    finished += now == after;
  }
  std::printf(
      "full run %lld us; %d kills landed during the work; killed before the commit %d "
      "times, after it %d times\n",
      static_cast<long long>(fullRun.count()), killedWhileWorking, untouched, finished);
  // Instants are drawn over the whole work, so most kills must land in it; otherwise the
  // trials proved nothing about an interrupted call.
  EXPECT_GE(killedWhileWorking, kTrials / 3);
}

TEST(ArchiveKill, KilledMergeLeavesTheOldOrTheMergedArchive) {
  ScratchFolder folder;
  std::mt19937 random(7);
  const std::string source = folder.path("patch.vka");
  const std::string destination = folder.path("game.vka");
  writeArchive(source, someEntries(random, "new", 60));
  writeArchive(destination, someEntries(random, "old", 20));
  killAtRandomInstants(destination,
                       [&] { VKA_Fusion(source.c_str(), destination.c_str(), nullptr); });
}

TEST(ArchiveKill, KilledRepackNeverLosesTheArchive) {
  ScratchFolder folder;
  std::mt19937 random(8);
  const std::string path = folder.path("game.vka");
  const std::string temp = folder.path("MorvoTMPVKA.vka");
  writeArchive(path, someEntries(random, "entry", 80));
  killAtRandomInstants(path, [&] { VKA_Repack(path.c_str(), temp.c_str(), nullptr); });
}

}  // namespace
}  // namespace vka::test
