#include "run/PatchRun.h"

#include <cstdio>
#include <optional>

#include "log/LogLines.h"
#include "patch/InstallPatches.h"
#include "patch/PatchLists.h"
#include "patch/ProgramCopy.h"
#include "run/DownloadOutcomes.h"
#include "run/RunLock.h"
#include "run/StatusCallback.h"

// Each finished notification decides the next step at once, as the download chain always did,
// but the next download is only queued: StartListDownload runs the queue in a loop, so a list
// of any length keeps the stack one download deep instead of nesting one call per patch. The
// order of everything the window and the log see is the same.
struct PatchRun::Impl {
  Impl(PatchContext& context, PatchRunServices services);

  void OnDownloadFinished(const DownloadStatus& status);
  void OnListReceived();
  void StartNextPatchDownload();
  void OnAllPatchesDownloaded();
  void FinishRun();
  void ShowStatus(const std::string& text);

  struct QueuedDownload {
    std::string Url;
    std::string Path;
  };

  PatchContext& context;
  std::unique_ptr<Downloader> ownDownloader;
  Downloader& downloader;
  cstatus_callback statusCallback;
  RunLock lock;
  DownloadOutcomes outcomes;
  std::optional<QueuedDownload> next;
  bool recovered = false;
  bool listStarted = false;
  bool finished = false;
};

PatchRun::Impl::Impl(PatchContext& runContext, PatchRunServices services)
    : context(runContext),
      ownDownloader(services.Download ? nullptr : MakeCurlDownloader()),
      downloader(services.Download ? *services.Download : *ownDownloader),
      statusCallback(runContext, std::move(services.TickCount),
                     [this](const DownloadStatus& status) { OnDownloadFinished(status); }),
      lock(runContext.ProgramDir + kRunLockFileName, runContext.Window,
           runContext.Settings.Language, services.LockPollInterval) {}

void PatchRun::Impl::ShowStatus(const std::string& text) {
  context.Window.SetStatusText(text);
  context.Window.ProcessPendingEvents();
}

void PatchRun::Impl::OnDownloadFinished(const DownloadStatus& status) {
  PatchRunState& state = context.State;
  const bool listDownload = state.ListPhase;
  if (!status.Succeeded) {
    context.Log.LogFormat(listDownload ? loglines::kListFetchError : loglines::kPatchFetchError,
                          {status.Error});
  }
  if (listDownload) {
    OnListReceived();
  } else {
    outcomes.Record(state.DownloadUrls[static_cast<std::size_t>(state.DownloadsStarted - 1)],
                    status.Succeeded);
  }
  if (state.ListPhase || finished) return;
  if (state.DownloadsStarted > state.LastDownloadIndex) {
    OnAllPatchesDownloaded();
  } else {
    StartNextPatchDownload();
  }
}

void PatchRun::Impl::OnListReceived() {
  PatchRunState& state = context.State;
  const auto& messages = context.Settings.Messages;
  context.Log.LogLine(loglines::kListFetchDone);
  context.Log.LogBlankLine();
  ShowStatus(messages[4]);
  const bool somethingToFetch = ReadPatchLists(state);
  // Deleted before the run can end: once the lock is free, another launcher may be fetching
  // its own copy of the list.
  std::remove(state.ServerListPath.c_str());
  if (somethingToFetch) {
    ShowStatus(messages[5]);
    state.ListPhase = false;
    context.Log.LogFormat(loglines::kPatchesFetch, {state.LastDownloadIndex + 1});
  } else {
    context.Window.SetStatusText(messages[6]);
    FinishRun();
  }
}

void PatchRun::Impl::StartNextPatchDownload() {
  PatchRunState& state = context.State;
  ++state.DownloadsStarted;
  const std::string& url = state.DownloadUrls[static_cast<std::size_t>(state.DownloadsStarted - 1)];
  std::string path = context.ProgramDir + kContainerPrefix + FileNameOfUrl(url);
  std::remove(path.c_str());
  state.InstallFiles.push_back(path);
  context.Log.LogFormat(loglines::kPatchLine, {url});
  next = QueuedDownload{url, std::move(path)};
}

void PatchRun::Impl::OnAllPatchesDownloaded() {
  PatchRunState& state = context.State;
  context.Log.LogLine(loglines::kPatchesFetchDone);
  context.Log.LogBlankLine();
  outcomes.KeepArrivedOnly(state);
  WriteInstalledRegister(state);
  ShowStatus(context.Settings.Messages[7]);
  context.Log.LogFormat(loglines::kInstall, {state.InstallFiles.size()});
  InstallPatches(context);
  context.Log.LogLine(loglines::kInstallDone);
  context.Log.LogBlankLine();
  context.Window.SetGaugeProgress(0);
  context.Window.SetStatusText(context.Settings.Messages[8]);
  FinishRun();
}

void PatchRun::Impl::FinishRun() {
  PatchRunState& state = context.State;
  if (!state.DenyPlay && context.Settings.ShowStart) context.Window.ShowStart();
  context.Window.ProcessPendingEvents();
  context.Log.LogLine(loglines::kEnd);
  context.Log.LogClose();
  finished = true;
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
  run.lock.Acquire();
  PatchContext& context = run.context;
  PatchRunState& state = context.State;
  // Before this run installs anything: a copy found now was left by an earlier run.
  ResumeInterruptedSelfUpdate(context);
  ResumeInterruptedRepacks(context);
  FindUnfinishedPatches(state, context.ProgramDir);
  if (!state.InstallFiles.empty()) {
    context.Log.LogBlankLine();
    context.Log.LogFormat(loglines::kUnfinishedInstall, {state.InstallFiles.size()});
    InstallPatches(context);
    context.Log.LogLine(loglines::kUnfinishedInstallDone);
    context.Log.LogBlankLine();
    state.InstallFiles.clear();
    state.MergedArchives.clear();
  }
  state.ServerEntries.clear();
}

void PatchRun::StartListDownload() {
  Impl& run = *impl_;
  if (run.listStarted) return;
  run.listStarted = true;
  run.lock.Acquire();
  PatchContext& context = run.context;
  std::remove(context.State.ServerListPath.c_str());
  context.Log.LogLine(loglines::kListFetch);
  run.next = Impl::QueuedDownload{context.Settings.PatchListUrl, context.State.ServerListPath};
  while (run.next) {
    const Impl::QueuedDownload download = std::move(*run.next);
    run.next.reset();
    run.downloader.Download(download.Url, download.Path, run.statusCallback);
  }
}

bool PatchRun::Finished() const { return impl_->finished; }
