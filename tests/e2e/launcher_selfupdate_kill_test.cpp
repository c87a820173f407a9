// The self-update chain killed at each of its steps (the old launcher once it wrote the new
// copy, the copy replacing the old program, the replaced program cleaning up) always leaves a
// program file that starts and completes a run.
#include <filesystem>
#include <iostream>
#include <thread>

#include "LauncherTest.h"
#include "TestPaths.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

namespace {

enum class Step { kOldLauncher, kCopyReplacing, kReplacedCleaning };

struct KillPoint {
  Step step;
  Milliseconds delay;  // after the step's process is first seen
  const char* name;
};

class LauncherSelfUpdateKills : public LauncherTest {
 protected:
  void SetUp() override {
    LauncherTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    MakeGame({});
    newProgram_ = ReadFileBytes(BinPath("MorvoPatcher")) + "\nnew launcher build\n";
    WriteFiles(scratch_ + "/program", {{"MorvoPatcher", newProgram_}});
    AddPatch("p0001.pak", {{scratch_ + "/program/MorvoPatcher", "MorvoPatcher"}});
    PublishList("patchlist.ini", {"p0001.pak"});
    fs::rename(game_, work_ + "/template");
  }

  std::string FreshGame() {
    fs::remove_all(game_);
    fs::copy(work_ + "/template", game_, fs::copy_options::recursive);
    return game_;
  }

  // The processes that make up the step, once it has begun.
  std::vector<pid_t> ProcessesOf(Step step) const {
    switch (step) {
      case Step::kOldLauncher:
        if (!fs::exists(GamePath("MorvoTMP_MorvoPatcher"))) return {};
        return ProcessesRunning(GamePath("MorvoPatcher"));
      case Step::kCopyReplacing:
        return ProcessesRunning(GamePath("MorvoTMP_MorvoPatcher"));
      case Step::kReplacedCleaning: {
        std::vector<pid_t> cleaning;
        for (pid_t pid : ProcessesRunning(GamePath("MorvoPatcher"))) {
          const auto line = CommandLineOf(pid);
          if (line.size() > 1 && line[1] == "UPDATE_2") cleaning.push_back(pid);
        }
        return cleaning;
      }
    }
    return {};
  }

  // Kills the step's processes when they show up (+ delay); false if the step never came.
  bool KillAt(const KillPoint& point) {
    for (const auto deadline = Clock::now() + std::chrono::seconds(90); Clock::now() < deadline;) {
      if (!ProcessesOf(point.step).empty()) {
        std::this_thread::sleep_for(point.delay);
        KillProcesses(ProcessesOf(point.step));
        return true;
      }
      std::this_thread::sleep_for(Milliseconds(1));
    }
    return false;
  }

  // Lets the handoff that survived the kill go on until no step of it has run for two seconds,
  // or the program it started has finished its run (at most 40 s), then stops every launcher.
  void Settle() {
    auto quietSince = Clock::now();
    for (const auto deadline = quietSince + std::chrono::seconds(40); Clock::now() < deadline;) {
      const bool replacing = !ProcessesOf(Step::kCopyReplacing).empty();
      if (!replacing && WaitForLogEnd(std::chrono::seconds(0))) break;
      if (replacing || !ProcessesOf(Step::kReplacedCleaning).empty())
        quietSince = Clock::now();
      else if (Clock::now() - quietSince > std::chrono::seconds(2))
        break;
      std::this_thread::sleep_for(Milliseconds(50));
    }
    KillLaunchers();
  }

  std::string newProgram_;
};

TEST_F(LauncherSelfUpdateKills, EveryStepKilledLeavesAProgramThatStarts) {
  const KillPoint points[] = {
      {Step::kOldLauncher, Milliseconds(0), "old launcher, copy written"},
      {Step::kOldLauncher, Milliseconds(40), "old launcher, starting the copy"},
      {Step::kCopyReplacing, Milliseconds(0), "copy (UPDATE_1), at its start"},
      {Step::kCopyReplacing, Milliseconds(25), "copy (UPDATE_1), replacing"},
      {Step::kReplacedCleaning, Milliseconds(0), "replaced program (UPDATE_2), at its start"},
      {Step::kReplacedCleaning, Milliseconds(30), "replaced program (UPDATE_2), cleaning"},
  };
  for (const KillPoint& point : points) {
    SCOPED_TRACE(point.name);
    FreshGame();
    auto launcher = StartLauncher();
    ASSERT_TRUE(KillAt(point)) << "the step never began; log:\n"
                               << ReadFileBytes(GamePath("MorvoPatcherLog.txt"));
    launcher->Kill();
    Settle();

    ASSERT_TRUE(IsExecutable(GamePath("MorvoPatcher")));
    const std::string bytes = ReadFileBytes(GamePath("MorvoPatcher"));
    const bool wasNew = bytes == newProgram_;
    EXPECT_TRUE(wasNew || bytes == ReadFileBytes(BinPath("MorvoPatcher")))
        << "the program file is neither the old nor the new one";

    // The program left there starts and completes a run.
    fs::remove(GamePath("MorvoPatcherLog.txt"));
    auto again = StartLauncher();
    EXPECT_TRUE(WaitForLogEnd(std::chrono::seconds(60)))
        << ReadFileBytes(GamePath("MorvoPatcherLog.txt"));
    Settle();
    const bool isNew = ReadFileBytes(GamePath("MorvoPatcher")) == newProgram_;
    std::cout << "[self-update kill] " << point.name << ": program " << (wasNew ? "new" : "old")
              << " after the kill, " << (isNew ? "new" : "old") << " after the next run"
              << (fs::exists(GamePath("MorvoTMP_MorvoPatcher")) ? ", copy left behind" : "")
              << std::endl;
    // A self-update cut short anywhere is carried through by the next start.
    EXPECT_TRUE(isNew);
    EXPECT_FALSE(fs::exists(GamePath("MorvoTMP_MorvoPatcher")));
  }
}

}  // namespace
