// An installation pass killed at random instants, then the start-up recovery (finish pending
// repacks, find the registered containers still present, install them), gives the same game
// folder as a pass that was never interrupted.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>

#include "ChildRun.h"
#include "InstallTestSupport.h"
#include "install/InstallPatches.h"
#include "lists/PatchLists.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

constexpr int kAttempts = 16;

ArchiveEntries ManyEntries(const std::string& prefix, int count, const std::string& content) {
  ArchiveEntries entries;
  for (int i = 0; i < count; ++i) {
    entries.emplace_back(prefix + std::to_string(i), content + std::to_string(i * 7919));
  }
  return entries;
}

std::string ArchiveFileBytes(const std::string& scratch, const ArchiveEntries& entries) {
  WriteArchive(scratch, entries);
  const std::string bytes = ReadFile(scratch);
  fs::remove(scratch);
  return bytes;
}

// The game folder before the pass: installed archives, a loose file, three downloaded and
// registered containers.
void PrepareGame(GameFolder& folder) {
  const std::string scratch = folder.outside() + "scratch.vka";
  WriteArchive(folder / "data.vka", ManyEntries("d", 300, "old data "));
  WriteArchive(folder / "world.vkd", ManyEntries("w", 200, "old world "));
  WriteFile(folder / "Config.mpc", "old settings");
  fs::create_directory(folder / "Maps");
  WriteFile(folder / "Maps/a.map", "old map");

  const std::string big(600 * 1024, 'm');
  folder.AddDownloaded("p1.pak", ContainerBuilder()
                                     .Add("a.map", "maps\\A.MAP", big + "1")
                                     .Add("data.vka", "data.vka",
                                          ArchiveFileBytes(scratch, ManyEntries("d", 150, "p1 ")))
                                     .Add("b.bin", "new\\b.bin", big + "b")
                                     .Bytes());
  folder.AddDownloaded(
      "p2.pak",
      ContainerBuilder()
          .Add("world.vkd", "WORLD.vkd", ArchiveFileBytes(scratch, ManyEntries("w", 250, "p2 ")))
          .Add("Config.mpc", "Config.mpc", std::string(kConfigMagic) + "new settings")
          .Add("extra.vka", "extra.vka", ArchiveFileBytes(scratch, ManyEntries("e", 50, "e ")))
          .Bytes());
  folder.AddDownloaded("p3.pak", ContainerBuilder()
                                     .Add("more.vka", "Data.vka",
                                          ArchiveFileBytes(scratch, ManyEntries("d", 100, "p3 ")))
                                     .Add("c.bin", "c.bin", big + "c")
                                     .Bytes());
}

// What the game folder holds, archives by content; the log is left out.
std::map<std::string, ArchiveEntries> Snapshot(const GameFolder& folder) {
  std::map<std::string, ArchiveEntries> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder.game())) {
    const std::string relative = fs::relative(entry.path(), folder.game()).string();
    if (relative == kLogFileName) continue;
    if (entry.is_directory()) {
      files[relative] = {};
    } else if (relative.ends_with(".vka") || relative.ends_with(".vkd")) {
      files[relative] = ArchiveContent(entry.path().string());
    } else {
      files[relative] = {{"bytes", ReadFile(entry.path().string())}};
    }
  }
  return files;
}

// What the start-up recovery does before the list is fetched.
void Recover(GameFolder& folder) {
  PatchRunState fresh(folder.game());
  PatchContext context{folder.settings, folder.log,    folder.window,
                       fresh,           folder.game(), folder.context.ProgramPath};
  ResumeInterruptedRepacks(context);
  FindUnfinishedPatches(fresh, folder.game());
  InstallPatches(context);
}

TEST(InstallKill, KilledPassRecoversToTheSameGameFolder) {
  GameFolder reference;
  PrepareGame(reference);
  const auto started = std::chrono::steady_clock::now();
  InstallPatches(reference.context);
  const auto passTime = std::chrono::steady_clock::now() - started;
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
    PrepareGame(folder);
    killedMidway += RunInChild([&] { InstallPatches(folder.context); },
                               std::chrono::microseconds(instant(random)))
                        .killedWhileWorking;

    Recover(folder);
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
