// Background music: the MP3 file beside the program, played in a loop from the first
// activation until Start or Quit.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "config/PatcherSettings.h"
#include "media/MusicPlayer.h"

class QWidget;

class BackgroundMusic : public QObject {
  Q_OBJECT

 public:
  // Shown when the file exists but the player cannot open it; receives the player's own text.
  using ErrorNotice = std::function<void(const QString&)>;
  // Makes the player when the music is first loaded: a media player sets up the sound system,
  // which takes long enough to delay the window, and is not needed when there is no music.
  using PlayerMaker = std::function<std::unique_ptr<MusicPlayer>()>;

  // Plays through Qt Multimedia; an open failure is shown in a message box over owner.
  BackgroundMusic(const morvo::PatcherSettings& settings, QWidget* owner);
  // Any player and any way of showing the open failure (tests use fakes).
  BackgroundMusic(const morvo::PatcherSettings& settings, PlayerMaker makePlayer,
                  ErrorNotice showError, QObject* parent = nullptr);
  ~BackgroundMusic() override;

  // Opens the music file at path (which exists) and sets the loop interval to the track
  // length. False when the player cannot open it; its own error text has then been shown.
  bool LoadMusic(const std::string& path);
  // Plays from the current position and arms the loop timer, when the track is open.
  void StartMusic();
  // Disables the loop timer, then closes the player; harmless when nothing is open.
  void Stop();

  bool IsOpen() const { return open_; }
  const QTimer& Tmr_BGM() const { return tmrBgm_; }

 private:
  void Tmr_BGMTimer();

  const morvo::PatcherSettings& settings_;
  PlayerMaker makePlayer_;
  std::unique_ptr<MusicPlayer> bgmPlayer_;  // made by the first LoadMusic
  ErrorNotice showError_;
  QTimer tmrBgm_;
  bool open_ = false;
};
