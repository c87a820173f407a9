// The one download status object of a run: it shows each download's course in the window and
// hands every finished download to the run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "download/BindStatusCallback.h"
#include "patch/PatchContext.h"
#include "run/TickCount.h"

// The name keeps the one the rest of the engine knows it by.
class cstatus_callback final : public BindStatusCallback {
 public:
  using FinishedStep = std::function<void(const DownloadStatus&)>;

  cstatus_callback(PatchContext& context, TickSource tickCount, FinishedStep onFinished);

  // The list download shows Messages[3]; every download restarts the speed sample.
  void OnStartBinding() override;
  // Patch downloads show the progress line; every download moves the gauge.
  void OnProgress(std::uint64_t received, std::uint64_t expected) override;
  // Runs the run's next step, then returns status.
  DownloadStatus OnStopBinding(const DownloadStatus& status) override;

 private:
  void SampleSpeed(std::uint64_t received);

  PatchContext& context_;
  TickSource tickCount_;
  FinishedStep onFinished_;
  std::string progressPattern_;
  std::string currentName_;
  std::uint64_t lastReceived_ = 0;
};
