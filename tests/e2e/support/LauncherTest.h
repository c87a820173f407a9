// A test that runs the real launcher window on an Xvfb display against its own patch server:
// the Linux program by default; a subclass names another (the Windows one under Wine).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "PatchServerTest.h"

// Where a window lies on the display, in pixels.
struct WindowGeometry {
  int X = 0, Y = 0, Width = 0, Height = 0;
};

class LauncherTest : public PatchServerTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The built launcher program; empty when this build has none (the test is then skipped).
  virtual std::string BuiltLauncher() const;
  // The launcher's file name in the game folder.
  virtual std::string LauncherName() const { return "MorvoPatcher"; }
  // The command line that starts the launcher of a game folder.
  virtual std::vector<std::string> LauncherCommand(const std::string& gameDir) const;
  // The environment the launcher runs with, besides the display.
  virtual std::vector<std::string> LauncherEnvironment() const;

  // The launcher of the game folder, started as a player would, on the test's display.
  std::unique_ptr<ChildProcess> StartLauncher(const std::string& gameDir = "");
  // Waits until the log's last line is "Fin du log." (true) or the timeout passes (false).
  bool WaitForLogEnd(std::chrono::seconds timeout, const std::string& gameDir = "");
  // Every launcher process of the folder (also those it started detached), with their helpers.
  std::vector<pid_t> LauncherProcesses(const std::string& gameDir = "") const;
  void KillLaunchers(const std::string& gameDir = "");
  // An image of the whole display; the file's extension (.png, .ppm) chooses the format.
  bool Screenshot(const std::string& path);
  // The launcher's window ("Morvo Patcher") once it is shown, waiting at most timeout.
  std::optional<WindowGeometry> LauncherWindow(
      std::chrono::seconds timeout = std::chrono::seconds(0));
  // Moves the mouse to (x, y) of the display; with click, then clicks the left button there.
  bool MoveMouse(int x, int y, bool click = false);
  // Clicks the middle of the Start button of the demo skin (under its 88-pixel banner).
  bool ClickStart();
  // Waits for the chain that a first list with a restart and a second list with a new launcher
  // make: the second list fetched twice (by the launcher's copy and by the replaced program),
  // the log ended, the copy gone. Empty when it ended in time, else what was seen.
  std::string WaitForSelfUpdateChain(std::chrono::seconds timeout);

  std::unique_ptr<XvfbDisplay> display_;
};
