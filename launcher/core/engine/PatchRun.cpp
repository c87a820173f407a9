#include "engine/PatchRun.h"

#include "config/StatusMessages.h"
#include "engine/DownloadOutcomes.h"
#include "engine/RunLock.h"
#include "engine/TemporaryNames.h"
#include "install/InstallPatches.h"
#include "install/ProgramCopy.h"
#include "lists/PatchLists.h"
#include "log/LogLines.h"
#include "platform/FileSystem.h"
#include "platform/FolderSpace.h"
#include "platform/GamePath.h"
#include "text/RunNotices.h"

namespace morvo {

// The run reads top to bottom in RunPatches: each download returns before the next step
// starts, so nothing of the run happens inside a download's notifications.
struct PatchRun::Impl {
  Impl(PatchContext& context, PatchRunServices services);

  bool ReceiveList(const DownloadStatus& status);
  void DownloadPatch();
  void InstallDownloadedPatches();
  void FinishRun(StatusMessage endText);
  void ShowStatus(StatusMessage message);
  std::string EndText(StatusMessage endText) const;

  PatchContext& context;
  std::unique_ptr<Downloader> ownDownloader;
  Downloader& downloader;
  std::function<bool(const std::string&)> folderWritable;
  cstatus_callback statusCallback;
  RunLock lock;
  DownloadOutcomes outcomes;
  PatchRunOutcome outcome;
  bool recovered = false;
  bool started = false;
};

PatchRun::Impl::Impl(PatchContext& runContext, PatchRunServices services)
    : context(runContext),
      ownDownloader(services.Download ? nullptr : MakeSystemDownloader()),
      downloader(services.Download ? *services.Download : *ownDownloader),
      folderWritable(
          services.FolderWritable
              ? std::move(services.FolderWritable)
              : [](const std::string&
                       folder) { return CanWriteInFolder(folder, kWriteCheckFileName); }),
      statusCallback(runContext, std::move(services.TickCount), std::move(services.FreeSpace)),
      lock(runContext.ProgramDir + kRunLockFileName, runContext.Window, services.LockPollInterval) {
}

void PatchRun::Impl::ShowStatus(StatusMessage message) {
  context.Window.SetStatusText(StatusText(context.Settings, message));
  context.Window.ProcessPendingEvents();
}

// The list has arrived (or failed to): true when there are patches to download.
bool PatchRun::Impl::ReceiveList(const DownloadStatus& status) {
  PatchRunState& state = context.State;
  if (!status.Succeeded) context.Log.LogFormat(loglines::kListFetchError, {status.Error});
  context.Log.LogLine(loglines::kListFetchDone);
  context.Log.LogBlankLine();
  ShowStatus(StatusMessage::ListReceived);
  const bool somethingToFetch = ReadPatchLists(state);
  // Deleted before the run can end: once the lock is free, another launcher may be fetching
  // its own copy of the list.
  RemoveFile(state.ServerListPath);
  if (!somethingToFetch) return false;
  ShowStatus(StatusMessage::PatchesToFetch);
  state.ListPhase = false;
  context.Log.LogFormat(loglines::kPatchesFetch, {state.LastDownloadIndex + 1});
  return true;
}

namespace {

// Removes what stands at a download's target and at its part file, and tells whether both,
// as the platform resolves them, are files directly in the game folder (a link planted there
// under one of these names must not carry the download elsewhere).
bool ClearInGameFolder(const std::string& path, const std::string& programDir) {
  for (const std::string& file : {path, path + kDownloadPartSuffix}) {
    RemoveFile(file);
    if (!LiesDirectlyIn(file, programDir)) return false;
  }
  return true;
}

}  // namespace

void PatchRun::Impl::DownloadPatch() {
  PatchRunState& state = context.State;
  ++state.DownloadsStarted;
  const std::string url = state.DownloadUrls[static_cast<std::size_t>(state.DownloadsStarted - 1)];
  const std::string name = FileNameOfUrl(url);
  const std::string path = context.ProgramDir + kContainerPrefix + name;
  context.Log.LogFormat(loglines::kPatchLine, {url});
  if (!IsUsablePatchName(name) || !ClearInGameFolder(path, context.ProgramDir)) {
    context.Log.LogFormat(loglines::kPatchNameRefused, {WithoutControls(name)});
    outcomes.Record(url, false);
    return;
  }
  state.InstallFiles.push_back(path);
  const DownloadStatus status = downloader.Download(url, path, statusCallback);
  if (!status.Succeeded) context.Log.LogFormat(loglines::kPatchFetchError, {status.Error});
  outcomes.Record(url, status.Succeeded);
}

void PatchRun::Impl::InstallDownloadedPatches() {
  PatchRunState& state = context.State;
  context.Log.LogLine(loglines::kPatchesFetchDone);
  context.Log.LogBlankLine();
  outcomes.KeepArrivedOnly(state);
  outcome.FailedPatches += outcomes.FailedCount();
  WriteInstalledRegister(state);
  ShowStatus(StatusMessage::Installing);
  context.Log.LogFormat(loglines::kInstall, {state.InstallFiles.size()});
  outcome.FailedPatches += InstallPatches(context);
  context.Log.LogLine(loglines::kInstallDone);
  context.Log.LogBlankLine();
  context.Window.SetGaugeProgress(0);
}

// The run's last status line: the configured one, unless something of the run failed.
std::string PatchRun::Impl::EndText(StatusMessage endText) const {
  const std::int32_t language = context.Settings.Language;
  if (!outcome.FolderWritable) return ReadOnlyFolderNotice(language);
  if (outcome.FailedPatches > 0) return FailedPatchesNotice(outcome.FailedPatches, language);
  if (context.State.SelfUpdateDeferred) return SelfUpdateDeferredNotice(language);
  return StatusText(context.Settings, endText);
}

void PatchRun::Impl::FinishRun(StatusMessage endText) {
  PatchRunState& state = context.State;
  context.Window.SetStatusText(EndText(endText));
  if (!state.DenyPlay && context.Settings.ShowStart) context.Window.ShowStart();
  context.Window.ProcessPendingEvents();
  if (outcome.FailedPatches > 0) {
    context.Log.LogFormat(loglines::kPatchesFailed, {outcome.FailedPatches});
  }
  context.Log.LogLine(loglines::kEnd);
  context.Log.LogClose();
  outcome.Finished = true;
  // Free before a restart, so that the new instance does not wait for this one to end.
  lock.Release();
  if (state.ConfigReplaced) {
    state.ConfigReplaced = false;
    context.Window.StartProgram(context.ProgramPath, "", "");
    context.Window.CloseMainWindow();
  }
}

PatchRun::PatchRun(PatchContext& context, PatchRunServices services)
    : impl_(std::make_unique<Impl>(context, std::move(services))) {}

PatchRun::~PatchRun() = default;

void PatchRun::RecoverUnfinishedPatches() {
  Impl& run = *impl_;
  if (run.recovered) return;
  run.recovered = true;
  run.lock.Acquire(run.context.Settings.Language);
  PatchContext& context = run.context;
  PatchRunState& state = context.State;
  // Before this run installs anything: a copy found now was left by an earlier run.
  ResumeInterruptedSelfUpdate(context);
  ResumeInterruptedRepacks(context);
  FindUnfinishedPatches(state, context.ProgramDir);
  if (!state.InstallFiles.empty()) {
    context.Log.LogBlankLine();
    context.Log.LogFormat(loglines::kUnfinishedInstall, {state.InstallFiles.size()});
    run.outcome.FailedPatches += InstallPatches(context);
    context.Log.LogLine(loglines::kUnfinishedInstallDone);
    context.Log.LogBlankLine();
    state.InstallFiles.clear();
    state.MergedArchives.clear();
  }
  state.ServerEntries.clear();
}

void PatchRun::RunPatches() {
  Impl& run = *impl_;
  if (run.started) return;
  run.started = true;
  run.lock.Acquire(run.context.Settings.Language);
  PatchContext& context = run.context;
  PatchRunState& state = context.State;

  if (!run.folderWritable(context.ProgramDir)) {
    // Nothing could be fetched or installed: say so rather than "no patch".
    run.outcome.FolderWritable = false;
    context.Log.LogLine(loglines::kFolderNotWritable);
    context.Log.LogBlankLine();
    run.FinishRun(StatusMessage::NothingToFetch);
    return;
  }

  RemoveFile(state.ServerListPath);
  context.Log.LogLine(loglines::kListFetch);
  const DownloadStatus list = run.downloader.Download(context.Settings.PatchListUrl,
                                                      state.ServerListPath, run.statusCallback);
  if (!run.ReceiveList(list)) {
    run.FinishRun(StatusMessage::NothingToFetch);
    return;
  }
  while (state.DownloadsStarted <= state.LastDownloadIndex) run.DownloadPatch();
  run.InstallDownloadedPatches();
  run.FinishRun(StatusMessage::InstallationDone);
}

PatchRunOutcome PatchRun::Outcome() const { return impl_->outcome; }

}  // namespace morvo
