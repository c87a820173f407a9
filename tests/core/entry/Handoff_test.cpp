// The handoff across real processes: the actor program plays the old program, the downloaded
// copy and the replaced program.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "TempDir.h"
#include "platform/ProgramDir.h"
#include "platform/RunningProgram.h"

using namespace morvo;

namespace {

const std::string kGame = "Game Launcher";  // a blank in the name, as the handoff must survive

class StartupHandoff : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string actor = ReadFileBytes(ProgramDir() + "startup_handoff_actor");
    ASSERT_FALSE(actor.empty());
    oldBytes_ = actor + "old version";
    newBytes_ = actor + "new version, a little longer";
    Install(target(), oldBytes_, 0750);
    Install(copy(), newBytes_, 0755);
  }
  void TearDown() override { ::unsetenv("MORVO_ACTOR_KILL_AT"); }

  std::string target() const { return dir_ / kGame; }
  std::string copy() const { return dir_ / ("MorvoTMP_" + kGame); }
  std::string events() const { return ReadFileBytes(dir_ / "events.txt"); }

  static void Install(const std::string& path, const std::string& bytes, mode_t mode) {
    WriteFileBytes(path, bytes);
    ::chmod(path.c_str(), mode);
  }

  // Runs program with its parameters and waits for it; its exit status.
  static int Run(const std::string& program, const std::vector<std::string>& parameters) {
    const pid_t child = ::fork();
    if (child == 0) {
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const auto& p : parameters) argv.push_back(const_cast<char*>(p.c_str()));
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Waits until the events hold line, then until no process of the chain runs any more.
  bool WaitForEvent(const std::string& line) {
    bool seen = false;
    for (int i = 0; i < 1500 && !seen; ++i) {
      seen = events().find(line + "\n") != std::string::npos;
      if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (int i = 0; i < 500 && (IsProgramRunning(target()) || IsProgramRunning(copy())); ++i) {
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
  struct stat info {};
  ASSERT_EQ(::stat(target().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0750u);
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
    ::setenv("MORVO_ACTOR_KILL_AT", c.killAt, 1);
    ASSERT_EQ(Run(target(), {"PLAY_OLD"}), 0);
    ASSERT_TRUE(WaitForEvent(c.killAt)) << events();
    ::unsetenv("MORVO_ACTOR_KILL_AT");
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
