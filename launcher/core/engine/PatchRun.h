// The patch run: resume unfinished installations, fetch the list, download, install, finish.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "download/Downloader.h"
#include "download/StatusCallback.h"
#include "engine/PatchContext.h"
#include "platform/TickCount.h"

namespace morvo {

// What the run uses from outside; tests give their own.
struct PatchRunServices {
  Downloader* Download = nullptr;  // none: the platform's downloader with its usual limits
  TickSource TickCount;            // empty: the monotonic clock
  // How often the waits for another launcher and for the game look again.
  std::chrono::milliseconds LockPollInterval{100};
  std::function<bool(const std::string&)> ProgramRunning;  // empty: the platform's process list
  FreeSpaceSource FreeSpace;                               // empty: the file system's figure
  std::function<bool(const std::string&)> FolderWritable;  // empty: a file is made and deleted
};

// How a finished run went, beyond what its last status line shows.
struct PatchRunOutcome {
  bool Finished = false;       // FinishRun has run
  bool FolderWritable = true;  // the game folder took files
  int FailedPatches = 0;       // patches not downloaded, or not installed completely
  // False when the configuration holds a signing key and the list's signature was missing or
  // did not verify: nothing of the list was used.
  bool ListVerified = true;
};

class PatchRun {
 public:
  explicit PatchRun(PatchContext& context, PatchRunServices services = {});
  ~PatchRun();
  PatchRun(const PatchRun&) = delete;
  PatchRun& operator=(const PatchRun&) = delete;

  // At the window's first activation: installs what an earlier run left unfinished. Waits
  // first, keeping the window alive, while another launcher patches the same folder or the
  // game runs from it.
  void RecoverUnfinishedPatches();
  // When the news page has loaded: the list download, each patch download, the register,
  // the installation and the end of the run, one after the other; before installing, waits
  // while the game runs from the folder. Returns when the run is over. Only the first call
  // does anything.
  void RunPatches();
  PatchRunOutcome Outcome() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace morvo
