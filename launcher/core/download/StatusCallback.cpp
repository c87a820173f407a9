#include "download/StatusCallback.h"

#include "config/StatusMessages.h"
#include "lists/PatchLists.h"
#include "platform/FolderSpace.h"
#include "text/MessageFormat.h"

namespace morvo {

cstatus_callback::cstatus_callback(PatchContext& context, TickSource tickCount,
                                   FreeSpaceSource freeSpace)
    : context_(context),
      tickCount_(tickCount ? std::move(tickCount) : TickSource(&MonotonicTickCount)),
      freeSpace_(freeSpace ? std::move(freeSpace) : FreeSpaceSource(&FreeBytesInFolder)) {}

void cstatus_callback::OnStartBinding() {
  PatchRunState& state = context_.State;
  if (state.ListPhase) {
    context_.Window.SetStatusText(StatusText(context_.Settings, StatusMessage::ListFetching));
    context_.Window.ProcessPendingEvents();
    currentName_.clear();
  } else {
    // Built here rather than at construction: the window may create the run before it has
    // read the settings.
    progressPattern_ = StatusText(context_.Settings, StatusMessage::DownloadProgress) +
                       " %s ... (%f/%fKo - %f Ko/s)";
    const auto index = static_cast<std::size_t>(state.DownloadsStarted - 1);
    currentName_ = index < state.DownloadUrls.size() ? FileNameOfUrl(state.DownloadUrls[index])
                                                     : std::string();
  }
  state.SampleBytes = 0;
  state.SampleTick = tickCount_();
  state.SpeedKiBps = 0.0f;
  lastReceived_ = 0;
}

void cstatus_callback::SampleSpeed(std::uint64_t received) {
  PatchRunState& state = context_.State;
  const std::uint32_t now = tickCount_();
  if (received < lastReceived_) {
    // The server would not resume and the body starts over: measure from here.
    state.SampleTick = now;
    state.SampleBytes = static_cast<std::uint32_t>(received);
    state.SpeedKiBps = 0.0f;
    return;
  }
  const std::uint32_t elapsed = now - state.SampleTick;  // a wrap of the tick count is harmless
  if (elapsed < 500) return;
  const std::uint32_t delta = static_cast<std::uint32_t>(received) - state.SampleBytes;
  state.SampleTick = now;
  state.SampleBytes = static_cast<std::uint32_t>(received);
  state.SpeedKiBps = static_cast<float>(static_cast<double>(delta) / elapsed * 1000.0 / 1024.0);
}

void cstatus_callback::OnProgress(std::uint64_t received, std::uint64_t expected) {
  PatchWindow& window = context_.Window;
  if (!context_.State.ListPhase) {
    SampleSpeed(received);
    window.SetStatusText(FormatMessage(
        progressPattern_, {currentName_, static_cast<double>(received) / 1024.0,
                           static_cast<double>(expected) / 1024.0, context_.State.SpeedKiBps}));
  }
  lastReceived_ = received;
  const auto maximum = static_cast<std::int64_t>(expected);
  if (maximum != window.GaugeMaxValue()) window.SetGaugeMaxValue(maximum);
  window.SetGaugeProgress(static_cast<std::int64_t>(received));
  window.ProcessPendingEvents();
}

bool cstatus_callback::HasRoomFor(std::uint64_t bytes) {
  const std::uint64_t needed = context_.State.ListPhase ? bytes : 2 * bytes;
  const std::optional<std::uint64_t> free = freeSpace_(context_.ProgramDir);
  return !free || *free >= needed;
}

DownloadStatus cstatus_callback::OnStopBinding(const DownloadStatus& status) { return status; }

}  // namespace morvo
