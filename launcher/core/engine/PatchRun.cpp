#include "engine/PatchRun.h"

#include "config/StatusMessages.h"
#include "engine/DownloadOutcomes.h"
#include "engine/GameRunningWait.h"
#include "engine/ListSignature.h"
#include "engine/RunLock.h"
#include "engine/TemporaryNames.h"
#include "install/FilesInUse.h"
#include "install/InstallPatches.h"
#include "install/ProgramCopy.h"
#include "lists/PatchLists.h"
#include "log/LogLines.h"
#include "platform/FileSystem.h"
#include "platform/FolderSpace.h"
#include "platform/GamePath.h"
#include "platform/RunningProgram.h"
#include "text/RunNotices.h"

namespace morvo {

// The run reads top to bottom in RunPatches: each download returns before the next step
// starts, so nothing of the run happens inside a download's notifications.
struct PatchRun::Impl {
  Impl(PatchContext& context, PatchRunServices services);

  bool ReceiveList(const DownloadStatus& status);
  bool ListSignatureHolds();
  void DownloadPatch();
  void InstallDownloadedPatches();
  void FinishRun(StatusMessage endText);
  void ShowStatus(StatusMessage message);
  std::string EndText(StatusMessage endText) const;

  PatchContext& context_;
  std::unique_ptr<Downloader> ownDownloader_;
  Downloader& downloader_;
  std::function<bool(const std::string&)> folderWritable_;
  ProgramRunningCheck programRunning_;
  std::chrono::milliseconds pollInterval_;
  cstatus_callback statusCallback_;
  RunLock lock_;
  DownloadOutcomes outcomes_;
  PatchRunOutcome outcome_;
  bool recovered_ = false;
  bool started_ = false;
};

PatchRun::Impl::Impl(PatchContext& runContext, PatchRunServices services)
    : context_(runContext),
      ownDownloader_(services.Download ? nullptr : MakeSystemDownloader()),
      downloader_(services.Download ? *services.Download : *ownDownloader_),
      folderWritable_(
          services.FolderWritable
              ? std::move(services.FolderWritable)
              : [](const std::string&
                       folder) { return CanWriteInFolder(folder, kWriteCheckFileName); }),
      programRunning_(services.ProgramRunning ? std::move(services.ProgramRunning)
                                              : ProgramRunningCheck(IsProgramRunning)),
      pollInterval_(services.LockPollInterval),
      statusCallback_(runContext, std::move(services.TickCount), std::move(services.FreeSpace)),
      lock_(runContext.ProgramDir + kRunLockFileName, runContext.Window,
            services.LockPollInterval) {}

void PatchRun::Impl::ShowStatus(StatusMessage message) {
  context_.Window.SetStatusText(StatusText(context_.Settings, message));
  context_.Window.ProcessPendingEvents();
}

// With a signing key: fetches the list's signature and checks it against the list's exact
// bytes; an error line says why when it does not hold. Without a key the list is taken as it is.
bool PatchRun::Impl::ListSignatureHolds() {
  if (!context_.Settings.SigningKey) return true;
  const std::string signaturePath = context_.ProgramDir + kListSignatureFileName;
  RemoveFile(signaturePath);
  const DownloadStatus fetched =
      downloader_.Download(context_.Settings.PatchListUrl + ".sig", signaturePath, statusCallback_);
  bool holds = false;
  if (!fetched.Succeeded) {
    context_.Log.LogFormat(loglines::kListSignatureFetchError, {fetched.Error});
  } else {
    holds = ListSignatureVerifies(context_.State.ServerListPath, signaturePath,
                                  *context_.Settings.SigningKey);
    if (!holds) context_.Log.LogLine(loglines::kListSignatureInvalid);
  }
  RemoveFile(signaturePath);
  return holds;
}

// The list has arrived (or failed to): true when there are patches to download. A list whose
// signature does not hold is not read at all: not even its DenyPlay counts.
bool PatchRun::Impl::ReceiveList(const DownloadStatus& status) {
  PatchRunState& state = context_.State;
  if (!status.Succeeded) context_.Log.LogFormat(loglines::kListFetchError, {status.Error});
  outcome_.ListVerified = !status.Succeeded || ListSignatureHolds();
  context_.Log.LogLine(loglines::kListFetchDone);
  context_.Log.LogBlankLine();
  ShowStatus(StatusMessage::ListReceived);
  const bool somethingToFetch = outcome_.ListVerified && ReadPatchLists(state);
  // Deleted before the run can end: once the lock is free, another launcher may be fetching
  // its own copy of the list.
  RemoveFile(state.ServerListPath);
  if (!somethingToFetch) return false;
  ShowStatus(StatusMessage::PatchesToFetch);
  state.ListPhase = false;
  context_.Log.LogFormat(loglines::kPatchesFetch, {state.LastDownloadIndex + 1});
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
  PatchRunState& state = context_.State;
  ++state.DownloadsStarted;
  const std::string url = state.DownloadUrls[static_cast<std::size_t>(state.DownloadsStarted - 1)];
  const std::string name = FileNameOfUrl(url);
  const std::string path = context_.ProgramDir + kContainerPrefix + name;
  context_.Log.LogFormat(loglines::kPatchLine, {url});
  if (!IsUsablePatchName(name) || !ClearInGameFolder(path, context_.ProgramDir)) {
    context_.Log.LogFormat(loglines::kPatchNameRefused, {WithoutControls(name)});
    outcomes_.Record(url, false);
    return;
  }
  // Under a key every patch is checked; without one, those the list gives a digest for.
  const auto digest = state.ServerDigests.find(name);
  const std::optional<Sha256Digest> expected =
      digest != state.ServerDigests.end() ? std::optional(digest->second) : std::nullopt;
  if (context_.Settings.SigningKey && !expected) {
    context_.Log.LogLine(loglines::kPatchDigestMissing);
    outcomes_.Record(url, false);
    return;
  }
  state.InstallFiles.push_back(path);
  const DownloadStatus status = downloader_.Download(url, path, statusCallback_, expected);
  if (!status.Succeeded) context_.Log.LogFormat(loglines::kPatchFetchError, {status.Error});
  outcomes_.Record(url, status.Succeeded);
}

void PatchRun::Impl::InstallDownloadedPatches() {
  PatchRunState& state = context_.State;
  context_.Log.LogLine(loglines::kPatchesFetchDone);
  context_.Log.LogBlankLine();
  outcomes_.KeepArrivedOnly(state);
  outcome_.FailedPatches += outcomes_.FailedCount();
  WriteInstalledRegister(state);
  // The game may have been started during the downloads.
  WaitWhileGameRuns(context_, programRunning_, pollInterval_);
  ShowStatus(StatusMessage::Installing);
  context_.Log.LogFormat(loglines::kInstall, {state.InstallFiles.size()});
  outcome_.FailedPatches += InstallPatches(context_);
  context_.Log.LogLine(loglines::kInstallDone);
  context_.Log.LogBlankLine();
  context_.Window.SetGaugeProgress(0);
}

// The run's last status line: the configured one, unless something of the run failed.
std::string PatchRun::Impl::EndText(StatusMessage endText) const {
  const std::int32_t language = context_.Settings.Language;
  if (!outcome_.FolderWritable) return ReadOnlyFolderNotice(language);
  if (!outcome_.ListVerified) return UnverifiedListNotice(language);
  if (outcome_.FailedPatches > 0) return FailedPatchesNotice(outcome_.FailedPatches, language);
  if (context_.State.SelfUpdateDeferred) return SelfUpdateDeferredNotice(language);
  return StatusText(context_.Settings, endText);
}

void PatchRun::Impl::FinishRun(StatusMessage endText) {
  PatchRunState& state = context_.State;
  context_.Window.SetStatusText(EndText(endText));
  if (!state.DenyPlay && context_.Settings.ShowStart) context_.Window.ShowStart();
  context_.Window.ProcessPendingEvents();
  if (outcome_.FailedPatches > 0) {
    context_.Log.LogFormat(loglines::kPatchesFailed, {outcome_.FailedPatches});
  }
  context_.Log.LogLine(loglines::kEnd);
  context_.Log.LogClose();
  outcome_.Finished = true;
  // Free before a restart, so that the new instance does not wait for this one to end.
  lock_.Release();
  if (state.ConfigReplaced) {
    state.ConfigReplaced = false;
    context_.Window.StartProgram(context_.ProgramPath, "", "");
    context_.Window.CloseMainWindow();
  }
}

PatchRun::PatchRun(PatchContext& context_, PatchRunServices services)
    : impl_(std::make_unique<Impl>(context_, std::move(services))) {}

PatchRun::~PatchRun() = default;

void PatchRun::RecoverUnfinishedPatches() {
  Impl& run = *impl_;
  if (run.recovered_) return;
  run.recovered_ = true;
  run.lock_.Acquire(run.context_.Settings.Language);
  PatchContext& context = run.context_;
  PatchRunState& state = context.State;
  WaitWhileGameRuns(context, run.programRunning_, run.pollInterval_);
  // Before this run installs anything: what is found now was left by an earlier run.
  ClearFilesPutAside(context.ProgramDir);
  // A copy started to finish an earlier self-update ends this process and runs the new program,
  // which recovers the rest itself; installing here meanwhile would write and start the copy a
  // second time while the first one replaces the program.
  if (ResumeInterruptedSelfUpdate(context)) return;
  ResumeInterruptedRepacks(context);
  FindUnfinishedPatches(state, context.ProgramDir);
  if (!state.InstallFiles.empty()) {
    context.Log.LogBlankLine();
    context.Log.LogFormat(loglines::kUnfinishedInstall, {state.InstallFiles.size()});
    run.outcome_.FailedPatches += InstallPatches(context);
    context.Log.LogLine(loglines::kUnfinishedInstallDone);
    context.Log.LogBlankLine();
    state.InstallFiles.clear();
    state.MergedArchives.clear();
  }
  state.ServerEntries.clear();
}

void PatchRun::RunPatches() {
  Impl& run = *impl_;
  if (run.started_) return;
  run.started_ = true;
  run.lock_.Acquire(run.context_.Settings.Language);
  PatchContext& context = run.context_;
  PatchRunState& state = context.State;

  if (!run.folderWritable_(context.ProgramDir)) {
    // Nothing could be fetched or installed: say so rather than "no patch".
    run.outcome_.FolderWritable = false;
    context.Log.LogLine(loglines::kFolderNotWritable);
    context.Log.LogBlankLine();
    run.FinishRun(StatusMessage::NothingToFetch);
    return;
  }

  RemoveFile(state.ServerListPath);
  context.Log.LogLine(loglines::kListFetch);
  const DownloadStatus list = run.downloader_.Download(context.Settings.PatchListUrl,
                                                       state.ServerListPath, run.statusCallback_);
  if (!run.ReceiveList(list)) {
    run.FinishRun(StatusMessage::NothingToFetch);
    return;
  }
  while (state.DownloadsStarted <= state.LastDownloadIndex) run.DownloadPatch();
  run.InstallDownloadedPatches();
  run.FinishRun(StatusMessage::InstallationDone);
}

PatchRunOutcome PatchRun::Outcome() const { return impl_->outcome_; }

}  // namespace morvo
