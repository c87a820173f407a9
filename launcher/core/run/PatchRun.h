// The patch run: resume unfinished installations, fetch the list, download, install, finish.
#pragma once

#include <chrono>
#include <memory>

#include "download/Downloader.h"
#include "patch/PatchContext.h"
#include "run/TickCount.h"

// What the run uses from outside; tests give their own.
struct PatchRunServices {
  Downloader* Download = nullptr;  // none: the libcurl downloader with its usual limits
  TickSource TickCount;            // empty: the monotonic clock
  std::chrono::milliseconds LockPollInterval{100};
};

class PatchRun {
 public:
  explicit PatchRun(PatchContext& context, PatchRunServices services = {});
  ~PatchRun();
  PatchRun(const PatchRun&) = delete;
  PatchRun& operator=(const PatchRun&) = delete;

  // At the window's first activation: installs what an earlier run left unfinished. Waits
  // first, keeping the window alive, while another launcher patches the same folder.
  void RecoverUnfinishedPatches();
  // When the news page has loaded: the list download, and after it the whole rest of the run.
  // Returns when the run is over. Only the first call does anything.
  void StartListDownload();
  // True once FinishRun has run.
  bool Finished() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
