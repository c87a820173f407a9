#include "LauncherTest.h"

#include <filesystem>
#include <sstream>
#include <thread>

#include "TestPaths.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void LauncherTest::SetUp() {
  if (!fs::exists(BinPath("MorvoPatcher"))) GTEST_SKIP() << "MorvoPatcher is not built (no Qt 6)";
  PatchServerTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  display_ = std::make_unique<XvfbDisplay>(work_ + "/xvfb");
  ASSERT_TRUE(display_->Running()) << "Xvfb did not start";
}

void LauncherTest::TearDown() {
  if (!game_.empty()) KillLaunchers();
}

std::unique_ptr<ChildProcess> LauncherTest::StartLauncher(const std::string& gameDir) {
  const std::string dir = gameDir.empty() ? game_ : gameDir;
  RunOptions options = OutputTo(work_ + "/launcher.out");
  options.workingDir = dir;
  options.extraEnvironment = {"DISPLAY=" + display_->Name(), "QT_QPA_PLATFORM=xcb"};
  return std::make_unique<ChildProcess>(std::vector<std::string>{dir + "/MorvoPatcher"}, options);
}

bool LauncherTest::WaitForLogEnd(std::chrono::seconds timeout, const std::string& gameDir) {
  const std::string log = (gameDir.empty() ? game_ : gameDir) + "/MorvoPatcherLog.txt";
  const auto deadline = Clock::now() + timeout;
  while (true) {
    const std::vector<std::string> lines = LogLines(log);
    if (!lines.empty() && lines.back() == "Fin du log.") return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::vector<pid_t> LauncherTest::LauncherProcesses(const std::string& gameDir) const {
  const std::string dir = gameDir.empty() ? game_ : gameDir;
  std::vector<pid_t> all;
  for (const char* program : {"MorvoPatcher", "MorvoTMP_MorvoPatcher"})
    for (pid_t pid : ProcessesRunning(dir + "/" + program)) {
      all.push_back(pid);
      for (pid_t helper : DescendantsOf(pid)) all.push_back(helper);
    }
  return all;
}

void LauncherTest::KillLaunchers(const std::string& gameDir) {
  KillProcesses(LauncherProcesses(gameDir));
}

bool LauncherTest::Screenshot(const std::string& pngPath) {
  RunOptions options = OutputTo(work_ + "/grab.out", std::chrono::seconds(30));
  options.extraEnvironment = {"DISPLAY=" + display_->Name()};
  return RunProgram({HelperPath("morvo_grab_screen"), pngPath}, options).exitCode == 0;
}

bool LauncherTest::ClickStart() {
  RunOptions options = OutputTo(work_ + "/xdotool.out", std::chrono::seconds(30));
  options.extraEnvironment = {"DISPLAY=" + display_->Name()};
  RunResult found = RunProgram({"/usr/bin/xdotool", "search", "--onlyvisible", "--name",
                                "^Morvo Patcher$", "getwindowgeometry", "--shell", "%1"},
                               options);
  int x = -1, y = -1;
  std::istringstream lines(found.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("X=", 0) == 0) x = std::stoi(line.substr(2));
    if (line.rfind("Y=", 0) == 0) y = std::stoi(line.substr(2));
  }
  if (found.exitCode != 0 || x < 0 || y < 0) return false;
  // StartBounds of demo/launcher.txt.in: 20, 334, 110, 30, below the banner band.
  const std::string clickX = std::to_string(x + 20 + 55),
                    clickY = std::to_string(y + 88 + 334 + 15);
  return RunProgram({"/usr/bin/xdotool", "mousemove", clickX, clickY, "sleep", "0.3", "click", "1"},
                    options)
             .exitCode == 0;
}
