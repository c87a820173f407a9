// The background music player on Qt Multimedia.
#include <QAudioOutput>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include "media/MusicPlayer.h"

namespace {

// How long opening may take before it counts as a failure; a local MP3 opens in well under a
// second, so this only guards against a backend that never answers.
constexpr int kOpenTimeoutMs = 10000;
// Some backends learn the length only once the track is prerolled (paused); without a length
// the track plays once.
constexpr int kLengthTimeoutMs = 2000;

class QtMusicPlayer final : public MusicPlayer {
 public:
  QtMusicPlayer() { player_.setAudioOutput(&output_); }

  bool Open(const QString& path, QString& errorText) override {
    player_.setSource(QUrl::fromLocalFile(path));
    WaitFor([this] { return Failed() || Loaded(); }, kOpenTimeoutMs);
    if (!Failed() && Loaded() && player_.duration() <= 0) {
      player_.pause();
      WaitFor([this] { return Failed() || player_.duration() > 0; }, kLengthTimeoutMs);
    }
    if (!Failed() && Loaded()) return true;
    errorText = player_.errorString().isEmpty()
                    ? QStringLiteral("The media file %1 could not be opened.").arg(path)
                    : player_.errorString();
    Close();
    return false;
  }

  void SeekToStart() override { player_.setPosition(0); }
  std::int64_t LengthMs() const override { return player_.duration(); }
  void Play() override { player_.play(); }

  void Close() override {
    player_.stop();
    player_.setSource(QUrl());
  }

 private:
  bool Failed() const {
    return player_.error() != QMediaPlayer::NoError ||
           player_.mediaStatus() == QMediaPlayer::InvalidMedia;
  }
  bool Loaded() const {
    const QMediaPlayer::MediaStatus status = player_.mediaStatus();
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia;
  }

  // Runs the event loop (user input held back) until done() holds or the time is up.
  template <typename Done>
  void WaitFor(Done done, int timeoutMs) {
    if (done()) return;
    QEventLoop wait;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &wait, &QEventLoop::quit);
    auto check = [&] {
      if (done()) wait.quit();
    };
    QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, &wait, check);
    QObject::connect(&player_, &QMediaPlayer::durationChanged, &wait, check);
    QObject::connect(&player_, &QMediaPlayer::errorOccurred, &wait, check);
    giveUp.start(timeoutMs);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
  }

  QAudioOutput output_;
  QMediaPlayer player_;
};

}  // namespace

std::unique_ptr<MusicPlayer> MakeQtMusicPlayer() { return std::make_unique<QtMusicPlayer>(); }
