// The handoff across real processes: the actor program plays the old program, the downloaded
// copy and the replaced program.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "ProcessTestSupport.h"
#include "TempDir.h"
#include "platform/FileSystem.h"
#include "platform/ProgramDir.h"
#include "platform/RunningProgram.h"

using namespace morvo;

namespace {

// A blank in the name, as the handoff must survive.
const std::string kGame = ProgramFileName("Game Launcher");
constexpr char kKillAtVariable[] = "MORVO_ACTOR_KILL_AT";

class StartupHandoff : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string actor =
        ReadFileBytes(ProgramDir() + ProgramFileName("startup_handoff_actor"));
    ASSERT_FALSE(actor.empty());
    oldBytes_ = actor + "old version";
    newBytes_ = actor + "new version, a little longer";
    Install(target(), oldBytes_, 0750);
    Install(copy(), newBytes_, 0755);
    Install(dir_ / "kept", "", 0750);
  }
  void TearDown() override { SetInheritedVariable(kKillAtVariable, ""); }

  std::string target() const { return dir_ / kGame; }
  std::string copy() const { return dir_ / ("MorvoTMP_" + kGame); }
  std::string events() const { return ReadFileBytes(dir_ / "events.txt"); }

  // Permission bits where the platform has them.
  static void Install(const std::string& path, const std::string& bytes, unsigned mode) {
    WriteFileBytes(path, bytes);
    std::filesystem::permissions(FsPath(path), static_cast<std::filesystem::perms>(mode));
  }

  static int Run(const std::string& program, const std::vector<std::string>& parameters) {
    return RunProgramAndWait(program, parameters);
  }

  // Waits until the events hold line, then until no process of the chain runs any more.
  bool WaitForEvent(const std::string& line) {
    bool seen = false;
    for (int i = 0; i < 3000 && !seen; ++i) {
      seen = events().find(line + "\n") != std::string::npos;
      if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (int i = 0; i < 1000 && (IsProgramRunning(target()) || IsProgramRunning(copy())); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return seen;
  }

  bool NoTemporaryLeft() const {
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      if (entry.path().filename().string().rfind("MorvoTMP", 0) == 0) return false;
    }
    return true;
  }

  TempDir dir_;
  std::string oldBytes_;
  std::string newBytes_;
};

}  // namespace

TEST_F(StartupHandoff, ChainInstallsTheNewProgramAndRemovesTheCopy) {
  ASSERT_EQ(Run(target(), {"PLAY_OLD"}), 0);
  ASSERT_TRUE(WaitForEvent("NormalStart")) << events();
  // The copy waited for the old program before touching its file; the replaced program may
  // record itself before the copy notes that it started it.
  const std::string seen = events();
  EXPECT_EQ(seen.rfind("OldProgramEnds\nOldProgramGone\nTargetReplaced\n", 0), 0u) << seen;
  EXPECT_NE(seen.find("CopyDeleting\nNormalStart\n"), std::string::npos) << seen;
  EXPECT_NE(seen.find("TargetStarted\n"), std::string::npos) << seen;
  EXPECT_EQ(ReadFileBytes(target()), newBytes_);
  EXPECT_EQ(PermissionBits(target()), PermissionBits(dir_ / "kept")) << "bits of the old file";
  EXPECT_TRUE(NoTemporaryLeft());
}

// Wherever the chain dies, the program file is whole and starts.
TEST_F(StartupHandoff, KillAtAnyStepLeavesARunnableProgram) {
  struct Case {
    const char* killAt;
    bool replaced;
  };
  const Case cases[] = {
      {"OldProgramGone", false},
      {"TargetReplaced", true},
      {"TargetStarted", true},
      {"CopyDeleting", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.killAt);
    Install(target(), oldBytes_, 0750);
    Install(copy(), newBytes_, 0755);
    std::filesystem::remove(dir_ / "events.txt");
    SetInheritedVariable(kKillAtVariable, c.killAt);
    ASSERT_EQ(Run(target(), {"PLAY_OLD"}), 0);
    ASSERT_TRUE(WaitForEvent(c.killAt)) << events();
    SetInheritedVariable(kKillAtVariable, "");
    EXPECT_EQ(ReadFileBytes(target()), c.replaced ? newBytes_ : oldBytes_);
    std::filesystem::remove(dir_ / "events.txt");
    EXPECT_EQ(Run(target(), {}), 0);
    EXPECT_EQ(events(), "NormalStart\n");
  }
}

TEST_F(StartupHandoff, StepOneWithoutPathEndsWithoutTouchingAnything) {
  EXPECT_EQ(Run(copy(), {"UPDATE_1"}), 0);
  EXPECT_EQ(ReadFileBytes(target()), oldBytes_);
  EXPECT_EQ(events(), "");
}
