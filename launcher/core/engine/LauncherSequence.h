// The launcher's whole start-up and run, as far as it is not drawing: what happens when the
// window is created, first activated, when its news page first loads, when the run ends, and
// when Start or Quit is clicked. A window program forwards these events and implements
// LauncherWindow; everything it shows and logs is decided here, once.
#pragma once

#include <string>

#include "config/PatcherSettings.h"
#include "engine/LauncherWindow.h"
#include "engine/PatchContext.h"
#include "engine/PatchRun.h"
#include "engine/PatchRunState.h"
#include "log/Logger.h"

namespace morvo {

// The program-wide objects the sequence works with; they outlive it.
struct LauncherParts {
  PatcherSettings& Settings;
  Logger& Log;
  PatchRunState& State;
  std::string ProgramDir;   // ends in '/'
  std::string ProgramPath;  // the running program
};

class LauncherSequence {
 public:
  LauncherSequence(LauncherWindow& window, LauncherParts parts, PatchRunServices services = {});
  LauncherSequence(const LauncherSequence&) = delete;
  LauncherSequence& operator=(const LauncherSequence&) = delete;

  // Window creation: reads "Config.mpc", opens the log with its header, has the window build
  // its interface, opens the music. False, after the error box, when the configuration cannot
  // be read or the interface not built: the program is to end.
  bool OnCreate();
  // The window's first activation (any later one does nothing): music, recovery of what an
  // earlier run left unfinished, Messages[1], the news page requested.
  void OnActivate();
  // The news page's loads: the first one after the request shows Messages[2] and starts the
  // patch run once the window's handler has returned; the run then goes to its end (Start
  // shown or not, restart, self-update handoff).
  void OnNewsPageLoaded();
  // Start: the music stops, the click is heard, the game program starts in the game folder
  // with its parameters (or the error box says it could not), the window closes.
  void OnStartClicked();
  // Quit: the music stops, the click is heard, the process ends. From the click on, nothing
  // queued before (a news page completing meanwhile) starts the patch run.
  void OnQuitClicked();

  bool FirstActivationPending() const { return firstActivation_; }
  bool WaitingForNews() const { return waitingForNews_; }
  PatchRunOutcome RunOutcome() const { return run_.Outcome(); }

 private:
  void OpenMusic();
  void RunPatches();
  void ShowStatus(const std::string& text);

  LauncherWindow& window_;
  LauncherParts parts_;
  PatchContext context_;
  PatchRun run_;
  bool firstActivation_ = false;
  bool waitingForNews_ = false;
  bool quitting_ = false;
};

}  // namespace morvo
