#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "TempDir.h"
#include "platform/Shell.h"

using namespace morvo;

namespace {

// A script that records its working folder and parameters, one per line, into "out".
std::string WriteRecorder(const TempDir& dir) {
  const std::string script = dir / "recorder.sh";
  WriteFileBytes(script, "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > \"" +
                             dir.path() + "out.tmp\"\nmv \"" + dir.path() + "out.tmp\" \"" +
                             dir.path() + "out\"\n");
  ::chmod(script.c_str(), 0755);
  return script;
}

std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ReadFileBytes(path);
}

}  // namespace

TEST(StartupShell, StartsProgramWithSplitParametersInItsFolder) {
  TempDir dir;
  const std::string script = WriteRecorder(dir);
  std::filesystem::create_directory(dir / "work");
  SystemShell shell;
  ASSERT_TRUE(shell.Start(script, "UPDATE_2 \"/a b/c\"  d", dir / "work"));
  const std::string work = std::filesystem::canonical(dir / "work").string();
  EXPECT_EQ(WaitForFile(dir / "out"), work + "\n[UPDATE_2]\n[/a b/c]\n[d]\n");
}

TEST(StartupShell, ReportsWhatCannotBeStarted) {
  TempDir dir;
  const std::string script = WriteRecorder(dir);
  SystemShell shell;
  EXPECT_FALSE(shell.Start("", "", ""));
  EXPECT_FALSE(shell.Start(dir / "missing", "", ""));
  EXPECT_FALSE(shell.Start(script, "", dir / "no-such-folder"));
  WriteFileBytes(dir / "broken", "#!/nonexistent/interpreter\n");
  ::chmod((dir / "broken").c_str(), 0755);
  EXPECT_FALSE(shell.Start(dir / "broken", "", ""));
}

// Windows programs go through wine and addresses through the desktop opener, when installed.
TEST(StartupShell, RoutesWindowsProgramsAndAddresses) {
  TempDir dir;
  std::filesystem::create_directory(dir / "bin");
  for (const char* helper : {"wine", "xdg-open"}) {
    const std::string path = dir / "bin/" + helper;
    WriteFileBytes(path, "#!/bin/sh\necho \"" + std::string(helper) + " $*\" > \"" + dir.path() +
                             "out.tmp\"\nmv \"" + dir.path() + "out.tmp\" \"" + dir.path() +
                             "out\"\n");
    ::chmod(path.c_str(), 0755);
  }
  WriteFileBytes(dir / "Game.exe", "MZ\x90\x00 windows program");
  const std::string savedPath = std::getenv("PATH");
  ::setenv("PATH", (dir.path() + "bin:/usr/bin:/bin").c_str(), 1);
  SystemShell shell;
  const struct {
    std::string program;
    std::string recorded;
  } cases[] = {
      {dir / "Game.exe", "wine " + (dir / "Game.exe") + " -w two words\n"},
      {"http://127.0.0.1/register", "xdg-open http://127.0.0.1/register\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir / "out");
    EXPECT_TRUE(shell.Start(c.program, "-w \"two words\"", ""));
    EXPECT_EQ(WaitForFile(dir / "out"), c.recorded);
  }
  EXPECT_FALSE(shell.Start(dir / "missing.txt", "", ""));
  ::setenv("PATH", "/nonexistent", 1);
  EXPECT_FALSE(shell.Start(dir / "Game.exe", "", ""));
  ::setenv("PATH", savedPath.c_str(), 1);
}
