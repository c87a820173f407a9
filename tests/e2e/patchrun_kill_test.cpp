// A patch run killed (SIGKILL) at random instants during its downloads, installation, merges
// and repack, then started again until it ends, leaves the game folder an uninterrupted run
// leaves: loose files byte for byte, archives with the same content, each passing vka check.
#include <algorithm>
#include <array>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

#include "PatchServerTest.h"
#include "TestPaths.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

namespace {

// The stages of a run, each recognised by the first log line that only it writes.
enum Phase { kBeforeDownloads, kDownloads, kInstallation, kMerges, kRepack, kPhaseCount };
constexpr std::array<const char*, kPhaseCount> kPhaseNames = {"start", "downloads", "installation",
                                                              "merges", "repack"};
constexpr std::array<const char*, kPhaseCount> kPhaseMarks = {
    "",
    "R\xE9"
    "cup\xE9ration des patchs disponibles",
    "Installation des patchs (", "        Fusion des fichiers VKA ",
    "  Repack des fichiers VKA ..."};

// The latest stage whose mark the log holds.
Phase PhaseOfLog(const std::string& log) {
  Phase phase = kBeforeDownloads;
  for (int p = kDownloads; p < kPhaseCount; ++p)
    if (log.find(kPhaseMarks[p]) != std::string::npos) phase = static_cast<Phase>(p);
  return phase;
}

FileMap Entries(const std::string& prefix, int count, unsigned seed, std::size_t size) {
  FileMap files;
  for (int i = 0; i < count; ++i)
    files[prefix + std::to_string(i) + ".dat"] = SampleBytes(seed + i, size + (i * 37) % size);
  return files;
}

struct KillFigures {
  int pointsTried = 0, killsLanded = 0, runsNeeded = 0, mostRuns = 0, failures = 0;
  std::array<int, kPhaseCount> killsPerPhase{};
};

class PatchrunKills : public PatchServerTest {
 protected:
  // Slow enough that the downloads take a part of the run comparable to the installation.
  long ServerBytesPerSecond() const override { return 24 << 20; }

  void SetUp() override {
    PatchServerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    MakeGame({{"data.vka", Entries("Donnees/objet", 400, 100, 3000)},
              {"Sons.vkd", Entries("Sons/effet", 60, 300, 2000)}});
    FileMap loose = Entries("Cartes/region", 3, 500, 1500000);
    loose["Lisezmoi.txt"] = "Nouveaux fichiers.";
    AddFilesPatch("p0001.pak", loose);
    FileMap update = Entries("Donnees/objet", 500, 600, 2500);  // 400 replaced, 100 new
    AddArchivePatch("p0002.pak", "data.vka", update);
    AddArchivePatch("p0003.pak", "data.vka", Entries("Donnees/nouveau", 300, 900, 3000));
    AddArchivePatch("p0004.pak", "Sons.vkd", Entries("Sons/effet", 90, 1200, 2000));
    AddFilesPatch("p0005.pak", Entries("Extras/Doc/page", 20, 1400, 4000));
    PublishList("patchlist.ini", {"p0001.pak", "p0002.pak", "p0003.pak", "p0004.pak", "p0005.pak"});
    fs::remove(GamePath("MorvoPatcher"));  // patchrun runs without it; copies stay small
    fs::rename(game_, work_ + "/template");
  }

  std::string FreshGame(const std::string& name) {
    const std::string dir = work_ + "/" + name;
    fs::remove_all(dir);
    fs::copy(work_ + "/template", dir, fs::copy_options::recursive);
    return dir;
  }

  // Runs patchrun uninterrupted, noting when each stage began (ms from the start).
  std::array<long, kPhaseCount + 1> TimeStages(const std::string& gameDir) {
    std::array<long, kPhaseCount + 1> starts{};
    starts.fill(-1);
    starts[kBeforeDownloads] = 0;
    const auto begin = Clock::now();
    ChildProcess run({BinPath("patchrun"), gameDir});
    while (run.Running()) {
      const long now = std::chrono::duration_cast<Milliseconds>(Clock::now() - begin).count();
      const Phase phase = PhaseOfLog(ReadFileBytes(gameDir + "/MorvoPatcherLog.txt"));
      for (int p = 1; p <= phase; ++p)
        if (starts[p] < 0) starts[p] = now;
      std::this_thread::sleep_for(Milliseconds(1));
    }
    starts[kPhaseCount] = std::chrono::duration_cast<Milliseconds>(Clock::now() - begin).count();
    return starts;
  }

  // One patchrun killed delay after its log shows the stage (or after its start); false when
  // it ended first. Notes the stage it died in.
  bool RunAndKill(const std::string& gameDir, Phase stage, Milliseconds delay,
                  KillFigures& figures) {
    ChildProcess run({BinPath("patchrun"), gameDir});
    while (stage != kBeforeDownloads &&
           PhaseOfLog(ReadFileBytes(gameDir + "/MorvoPatcherLog.txt")) < stage) {
      if (!run.Running()) return false;
      std::this_thread::sleep_for(Milliseconds(1));
    }
    if (run.Wait(delay) != -1) return false;
    run.Kill();
    ++figures.killsLanded;
    ++figures.killsPerPhase[PhaseOfLog(ReadFileBytes(gameDir + "/MorvoPatcherLog.txt"))];
    return true;
  }
};

TEST_F(PatchrunKills, EveryKilledRunEndsAsAnUninterruptedOne) {
  ASSERT_FALSE(HasFatalFailure());
  const std::string referenceDir = FreshGame("reference");
  const auto stages = TimeStages(referenceDir);
  for (long start : stages) ASSERT_GE(start, 0) << "a stage of the run never showed in its log";
  const FolderContent reference = GameContent(referenceDir);
  ASSERT_TRUE(reference.badArchives.empty()) << DescribeDifferences(reference, reference);

  // Points taken from the stages in turn: a random instant within the stage, counted from the
  // moment the killed run's own log shows that the stage began; until enough kills landed.
  std::mt19937 random(20261208);
  constexpr int kKillsWanted = 52, kMostPoints = 150;
  KillFigures figures;
  std::string failureReport;
  while (figures.killsLanded < kKillsWanted && figures.pointsTried < kMostPoints) {
    const auto stage = static_cast<Phase>(kDownloads + figures.pointsTried % (kPhaseCount - 1));
    std::uniform_int_distribution<long> within(0,
                                               std::max(0L, stages[stage + 1] - stages[stage] - 1));
    const long delay = within(random);
    ++figures.pointsTried;
    const std::string gameDir = FreshGame("trial");
    RunAndKill(gameDir, stage, Milliseconds(delay), figures);
    // One run in three is killed again while it recovers.
    if (random() % 3 == 0)
      RunAndKill(gameDir, kBeforeDownloads, Milliseconds(random() % (stages[kPhaseCount] + 1)),
                 figures);
    int runs = 0;
    RunResult ended;
    do {
      ended = RunPatchrun(gameDir, std::chrono::seconds(60));
      ++runs;
    } while (ended.exitCode != 0 && runs < 5);
    figures.runsNeeded += runs;
    figures.mostRuns = std::max(figures.mostRuns, runs);
    const std::string differences = ended.exitCode == 0
                                        ? DescribeDifferences(reference, GameContent(gameDir))
                                        : "the run never ended well: " + ended.output;
    if (!differences.empty()) {
      ++figures.failures;
      if (figures.failures <= 3)
        failureReport += std::string("killed ") + std::to_string(delay) + " ms into the " +
                         kPhaseNames[stage] + ":\n" + differences;
      fs::rename(gameDir, work_ + "/failed-" + std::to_string(figures.failures));
    }
  }

  std::cout << "[kill figures] points tried " << figures.pointsTried << ", kills landed "
            << figures.killsLanded << " (";
  for (int p = 0; p < kPhaseCount; ++p)
    std::cout << (p ? ", " : "") << kPhaseNames[p] << " " << figures.killsPerPhase[p];
  std::cout << "), runs needed after the kills " << figures.runsNeeded << " (at most "
            << figures.mostRuns << " for one point), failures " << figures.failures
            << "; an uninterrupted run takes " << stages[kPhaseCount] << " ms, its stages begin at";
  for (int p = kDownloads; p < kPhaseCount; ++p) std::cout << " " << stages[p];
  std::cout << " ms" << std::endl;
  EXPECT_EQ(figures.failures, 0) << failureReport;
  EXPECT_GE(figures.killsLanded, 50);
  for (int p = kDownloads; p < kPhaseCount; ++p)
    EXPECT_GT(figures.killsPerPhase[p], 0) << "no kill landed during the " << kPhaseNames[p];
}

}  // namespace
