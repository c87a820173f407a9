#include "media/BackgroundMusic.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "DisplayText.h"
#include "log/LogLines.h"

namespace {

int TimerInterval(std::int64_t lengthMs) {
  return static_cast<int>(std::clamp<std::int64_t>(lengthMs, 0, std::numeric_limits<int>::max()));
}

}  // namespace

BackgroundMusic::BackgroundMusic(const PatcherSettings& settings, Logger& logger,
                                 const std::string& programDir, QWidget* owner)
    : BackgroundMusic(settings, logger, programDir, MakeQtMusicPlayer(),
                      [owner = QPointer<QWidget>(owner)](const QString& text) {
                        QMessageBox::critical(owner, QGuiApplication::applicationDisplayName(),
                                              text);
                      }) {}

BackgroundMusic::BackgroundMusic(const PatcherSettings& settings, Logger& logger,
                                 const std::string& programDir, std::unique_ptr<MusicPlayer> player,
                                 ErrorNotice showError, QObject* parent)
    : QObject(parent),
      settings_(settings),
      logger_(logger),
      programDir_(programDir),
      bgmPlayer_(std::move(player)),
      showError_(std::move(showError)) {
  // A coarse timer may drift by 5 % of a track's length; the loop should not.
  tmrBgm_.setTimerType(Qt::PreciseTimer);
  connect(&tmrBgm_, &QTimer::timeout, this, &BackgroundMusic::Tmr_BGMTimer);
}

BackgroundMusic::~BackgroundMusic() { Stop(); }

void BackgroundMusic::LoadMusic() {
  if (!settings_.MusicEnabled) return;
  logger_.LogFormat(loglines::kMusicLoad, {settings_.MusicFile});
  const std::string path = SettingsFilePath(programDir_, settings_.MusicFile);
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    logger_.LogLine(loglines::kMusicLoadError);
    logger_.LogBlankLine();
    return;
  }
  QString errorText;
  if (!bgmPlayer_->Open(QString::fromStdString(path), errorText)) {
    // The player's own words; the music stays off and start-up goes on.
    showError_(errorText);
    return;
  }
  open_ = true;
  bgmPlayer_->SeekToStart();
  tmrBgm_.setInterval(TimerInterval(bgmPlayer_->LengthMs()));
  logger_.LogLine(loglines::kMusicLoadDone);
  logger_.LogBlankLine();
}

void BackgroundMusic::StartMusic() {
  if (!settings_.MusicEnabled || !open_) return;
  bgmPlayer_->Play();
  // A zero interval would fire on every pass of the event loop; a track of unknown length
  // plays once instead.
  if (tmrBgm_.interval() > 0) tmrBgm_.start();
}

void BackgroundMusic::Stop() {
  tmrBgm_.stop();
  if (!open_) return;
  bgmPlayer_->Close();
  open_ = false;
}

void BackgroundMusic::Tmr_BGMTimer() {
  tmrBgm_.stop();
  bgmPlayer_->SeekToStart();
  StartMusic();
}
