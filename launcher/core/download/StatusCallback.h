// The one download status object of a run: it shows each download's course in the window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "download/BindStatusCallback.h"
#include "engine/PatchContext.h"
#include "platform/TickCount.h"

namespace morvo {

// The bytes still free on the file system of a folder; nullopt when unknown.
using FreeSpaceSource = std::function<std::optional<std::uint64_t>(const std::string& folder)>;

// The name keeps the one the rest of the engine knows it by.
class cstatus_callback final : public BindStatusCallback {
 public:
  // freeSpace empty: the file system's own figure.
  cstatus_callback(PatchContext& context, TickSource tickCount, FreeSpaceSource freeSpace = {});

  // The list download shows Messages[3]; every download restarts the speed sample.
  void OnStartBinding() override;
  // Patch downloads show the progress line; every download moves the gauge.
  void OnProgress(std::uint64_t received, std::uint64_t expected) override;
  // The game folder must hold what is to come; a patch container twice over, as its entries
  // are written beside it before it is deleted (which of them are archives to merge is known
  // only once it has arrived, so every container is counted twice).
  bool HasRoomFor(std::uint64_t bytes) override;
  // Returns status: what follows a download is the run's next step, not the status object's.
  DownloadStatus OnStopBinding(const DownloadStatus& status) override;

 private:
  void SampleSpeed(std::uint64_t received);

  PatchContext& context_;
  TickSource tickCount_;
  FreeSpaceSource freeSpace_;
  std::string progressPattern_;
  std::string currentName_;
  std::uint64_t lastReceived_ = 0;
};

}  // namespace morvo
