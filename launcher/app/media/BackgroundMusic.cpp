#include "media/BackgroundMusic.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <limits>

using namespace morvo;

namespace {

int TimerInterval(std::int64_t lengthMs) {
  return static_cast<int>(std::clamp<std::int64_t>(lengthMs, 0, std::numeric_limits<int>::max()));
}

}  // namespace

BackgroundMusic::BackgroundMusic(const PatcherSettings& settings, QWidget* owner)
    : BackgroundMusic(
          settings, &MakeQtMusicPlayer, [owner = QPointer<QWidget>(owner)](const QString& text) {
            QMessageBox::critical(owner, QGuiApplication::applicationDisplayName(), text);
          }) {}

BackgroundMusic::BackgroundMusic(const PatcherSettings& settings, PlayerMaker makePlayer,
                                 ErrorNotice showError, QObject* parent)
    : QObject(parent),
      settings_(settings),
      makePlayer_(std::move(makePlayer)),
      showError_(std::move(showError)) {
  // A coarse timer may drift by 5 % of a track's length; the loop should not.
  tmrBgm_.setTimerType(Qt::PreciseTimer);
  connect(&tmrBgm_, &QTimer::timeout, this, &BackgroundMusic::Tmr_BGMTimer);
}

BackgroundMusic::~BackgroundMusic() { Stop(); }

bool BackgroundMusic::LoadMusic(const std::string& path) {
  if (!bgmPlayer_) bgmPlayer_ = makePlayer_();
  QString errorText;
  if (!bgmPlayer_->Open(QString::fromStdString(path), errorText)) {
    // The player's own words; the music stays off and start-up goes on.
    showError_(errorText);
    return false;
  }
  open_ = true;
  bgmPlayer_->SeekToStart();
  tmrBgm_.setInterval(TimerInterval(bgmPlayer_->LengthMs()));
  return true;
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
