#include "LauncherTest.h"

#include <filesystem>
#include <set>
#include <sstream>
#include <thread>

#include "TestPaths.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void LauncherTest::SetUp() {
  if (BuiltLauncher().empty()) GTEST_SKIP() << "this build has no launcher window program";
  PatchServerTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  display_ = std::make_unique<XvfbDisplay>(work_ + "/xvfb");
  ASSERT_TRUE(display_->Running()) << "Xvfb did not start";
}

void LauncherTest::TearDown() {
  if (!game_.empty()) KillLaunchers();
}

std::string LauncherTest::BuiltLauncher() const {
  return fs::exists(BinPath("MorvoPatcher")) ? BinPath("MorvoPatcher") : "";
}

std::vector<std::string> LauncherTest::LauncherCommand(const std::string& gameDir) const {
  return {gameDir + "/" + LauncherName()};
}

std::vector<std::string> LauncherTest::LauncherEnvironment() const {
  return {"QT_QPA_PLATFORM=xcb"};
}

std::unique_ptr<ChildProcess> LauncherTest::StartLauncher(const std::string& gameDir) {
  const std::string dir = gameDir.empty() ? game_ : gameDir;
  RunOptions options = OutputTo(work_ + "/launcher.out");
  options.workingDir = dir;
  options.extraEnvironment = LauncherEnvironment();
  options.extraEnvironment.push_back("DISPLAY=" + display_->Name());
  return std::make_unique<ChildProcess>(LauncherCommand(dir), options);
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
  std::set<pid_t> all;
  for (const std::string& program : {LauncherName(), "MorvoTMP_" + LauncherName()}) {
    // The program file itself runs on Linux; under Wine, Wine runs it, started by its name.
    std::vector<pid_t> running = ProcessesRunning(dir + "/" + program);
    for (pid_t pid : ProcessesStartedAs(dir + "/" + program)) running.push_back(pid);
    for (pid_t pid : running) {
      all.insert(pid);
      for (pid_t helper : DescendantsOf(pid)) all.insert(helper);
    }
  }
  return {all.begin(), all.end()};
}

void LauncherTest::KillLaunchers(const std::string& gameDir) {
  KillProcesses(LauncherProcesses(gameDir));
}

bool LauncherTest::Screenshot(const std::string& path) {
  RunOptions options = OutputTo(work_ + "/grab.out", std::chrono::seconds(30));
  options.extraEnvironment = {"DISPLAY=" + display_->Name()};
  return RunProgram({HelperPath("morvo_grab_screen"), path}, options).exitCode == 0;
}

std::optional<WindowGeometry> LauncherTest::LauncherWindow(std::chrono::seconds timeout) {
  RunOptions options = OutputTo(work_ + "/xdotool.out", std::chrono::seconds(30));
  options.extraEnvironment = {"DISPLAY=" + display_->Name()};
  const auto deadline = Clock::now() + timeout;
  while (true) {
    const RunResult found = RunProgram({"/usr/bin/xdotool", "search", "--onlyvisible", "--name",
                                        "^Morvo Patcher$", "getwindowgeometry", "--shell", "%1"},
                                       options);
    WindowGeometry window{-1, -1, 0, 0};
    std::istringstream lines(found.output);
    for (std::string line; std::getline(lines, line);) {
      const std::string::size_type equals = line.find('=');
      if (equals == std::string::npos) continue;
      const std::string name = line.substr(0, equals);
      const int value = std::atoi(line.c_str() + equals + 1);
      if (name == "X") window.X = value;
      if (name == "Y") window.Y = value;
      if (name == "WIDTH") window.Width = value;
      if (name == "HEIGHT") window.Height = value;
    }
    if (found.exitCode == 0 && window.X >= 0 && window.Y >= 0 && window.Width > 0) return window;
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

bool LauncherTest::MoveMouse(int x, int y, bool click) {
  RunOptions options = OutputTo(work_ + "/xdotool.out", std::chrono::seconds(30));
  options.extraEnvironment = {"DISPLAY=" + display_->Name()};
  std::vector<std::string> command{"/usr/bin/xdotool", "mousemove", std::to_string(x),
                                   std::to_string(y)};
  if (click) command.insert(command.end(), {"sleep", "0.3", "click", "1"});
  return RunProgram(command, options).exitCode == 0;
}

bool LauncherTest::ClickStart() {
  const std::optional<WindowGeometry> window = LauncherWindow();
  if (!window) return false;
  // StartBounds of demo/launcher.txt.in: 20, 334, 110, 30, below the banner band.
  return MoveMouse(window->X + 20 + 55, window->Y + 88 + 334 + 15, true);
}

std::string LauncherTest::WaitForSelfUpdateChain(std::chrono::seconds timeout) {
  const std::string copy = GamePath("MorvoTMP_" + LauncherName());
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (nginx_->RequestCount("/list2.ini") >= 2 && WaitForLogEnd(std::chrono::seconds(0)) &&
        !fs::exists(copy)) {
      return "";
    }
  }
  return "the run chain did not end; list1 " + std::to_string(nginx_->RequestCount("/list1.ini")) +
         ", list2 " + std::to_string(nginx_->RequestCount("/list2.ini")) + " requests; log:\n" +
         ReadFileBytes(GamePath("MorvoPatcherLog.txt"));
}
