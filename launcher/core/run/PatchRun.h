// The patch run: resume unfinished installations, fetch the list, download, install, finish.
#pragma once

#include <memory>

#include "patch/PatchContext.h"

class PatchRun {
 public:
  explicit PatchRun(PatchContext& context);
  ~PatchRun();
  PatchRun(const PatchRun&) = delete;
  PatchRun& operator=(const PatchRun&) = delete;

  // At the window's first activation: installs what an earlier run left unfinished.
  void RecoverUnfinishedPatches();
  // When the news page has loaded: the list download, and inside it the whole rest of the run.
  // Returns when the run is over.
  void StartListDownload();
  // True once FinishRun has run.
  bool Finished() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
