#include "engine/LauncherSequence.h"

#include "config/StatusMessages.h"
#include "log/LogLines.h"
#include "platform/FileSystem.h"
#include "platform/GamePath.h"
#include "text/Windows1252.h"

namespace morvo {

namespace {

constexpr char kConfigReadFailure[] =
    "Impossible de lire Config.mpc !\r\n\r\nConfig.mpc reading failure !";

}  // namespace

LauncherSequence::LauncherSequence(LauncherWindow& window, LauncherParts parts,
                                   PatchRunServices services)
    : window_(window),
      parts_(std::move(parts)),
      context_{parts_.Settings, parts_.Log,        window_,
               parts_.State,    parts_.ProgramDir, parts_.ProgramPath},
      run_(context_, std::move(services)) {}

bool LauncherSequence::OnCreate() {
  PatcherSettings& settings = parts_.Settings;
  Logger& log = parts_.Log;
  if (!LoadConfig(parts_.ProgramDir, settings)) {
    window_.ShowErrorBox(kConfigReadFailure);
    return false;
  }
  if (settings.LogEnabled) LogOpenWithHeader(log);
  log.LogLine(loglines::kInterfaceInit);
  if (!window_.BuildInterface()) {
    // An undecodable skin leaves nothing to show: end as with an unreadable configuration.
    window_.ShowErrorBox(kConfigReadFailure);
    return false;
  }
  firstActivation_ = true;
  log.LogLine(loglines::kInterfaceInitDone);
  log.LogBlankLine();
  OpenMusic();
  return true;
}

void LauncherSequence::OpenMusic() {
  const PatcherSettings& settings = parts_.Settings;
  Logger& log = parts_.Log;
  if (!settings.MusicEnabled) return;
  log.LogFormat(loglines::kMusicLoad, {settings.MusicFile});
  const std::string path = SettingsFilePath(parts_.ProgramDir, settings.MusicFile);
  if (!IsRegularFile(path)) {
    log.LogLine(loglines::kMusicLoadError);
    log.LogBlankLine();
    return;
  }
  // A file the player cannot open: its own error text was shown, the log says nothing more.
  if (!window_.OpenMusic(path)) return;
  log.LogLine(loglines::kMusicLoadDone);
  log.LogBlankLine();
}

void LauncherSequence::ShowStatus(const std::string& text) {
  window_.SetStatusText(text);
  window_.ProcessPendingEvents();
}

void LauncherSequence::OnActivate() {
  if (!firstActivation_) return;
  firstActivation_ = false;
  Logger& log = parts_.Log;
  window_.StartMusic();
  log.LogLine(loglines::kUnfinishedCheck);
  run_.RecoverUnfinishedPatches();
  log.LogLine(loglines::kUnfinishedCheckDone);
  log.LogBlankLine();
  ShowStatus(StatusText(parts_.Settings, StatusMessage::RecoveryChecked));
  waitingForNews_ = true;
  log.LogLine(loglines::kNewsFetch);
  window_.RequestNewsPage();
}

void LauncherSequence::OnNewsPageLoaded() {
  if (!waitingForNews_) return;
  waitingForNews_ = false;
  parts_.Log.LogLine(loglines::kNewsFetchDone);
  parts_.Log.LogBlankLine();
  ShowStatus(StatusText(parts_.Settings, StatusMessage::NewsLoaded));
  // The run lasts until the last patch is installed: let the page's handler return first.
  window_.RunAfterCurrentEvent([this] { RunPatches(); });
}

void LauncherSequence::RunPatches() {
  // A Quit whose click sound let this step run: the process is ending, the run never starts.
  if (quitting_) return;
  run_.RunPatches();
}

void LauncherSequence::OnStartClicked() {
  const PatcherSettings& settings = parts_.Settings;
  if (settings.MusicEnabled) window_.StopMusic();
  window_.PlayClickSound(true);
  // The game finds its data beside it whatever folder the launcher was started from.
  const bool started =
      window_.StartProgram(SettingsFilePath(parts_.ProgramDir, settings.GameExe),
                           Windows1252ToUtf8(settings.GameParameters), parts_.ProgramDir);
  if (!started) {
    window_.ShowErrorBox(StatusText(settings, StatusMessage::GameStartFailed) + settings.GameExe);
  }
  window_.CloseMainWindow();
}

void LauncherSequence::OnQuitClicked() {
  quitting_ = true;
  if (parts_.Settings.MusicEnabled) window_.StopMusic();
  window_.PlayClickSound(true);
  window_.CloseMainWindow();
  window_.EndProcess();
}

}  // namespace morvo
