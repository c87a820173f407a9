// A test that runs the real launcher window on an Xvfb display against its own patch server.
#pragma once

#include <memory>
#include <string>

#include "PatchServerTest.h"

class LauncherTest : public PatchServerTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The launcher of the game folder, started as a player would, on the test's display.
  std::unique_ptr<ChildProcess> StartLauncher(const std::string& gameDir = "");
  // Waits until the log's last line is "Fin du log." (true) or the timeout passes (false).
  bool WaitForLogEnd(std::chrono::seconds timeout, const std::string& gameDir = "");
  // Every launcher process of the folder (also those it started detached), with their helpers.
  std::vector<pid_t> LauncherProcesses(const std::string& gameDir = "") const;
  void KillLaunchers(const std::string& gameDir = "");
  // A PNG of the whole display.
  bool Screenshot(const std::string& pngPath);
  // Clicks the middle of the Start button of the demo skin (under its 88-pixel banner).
  bool ClickStart();

  std::unique_ptr<XvfbDisplay> display_;
};
