// What the background music needs of a media player: open and wait, rewind, length, play,
// close. The Qt Multimedia player implements it; tests substitute a fake.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class MusicPlayer {
 public:
  virtual ~MusicPlayer() = default;

  // Opens the file and waits until it is ready or has failed. On failure errorText receives
  // the player's own description.
  virtual bool Open(const QString& path, QString& errorText) = 0;
  virtual void SeekToStart() = 0;
  // Track length in milliseconds; 0 when unknown.
  virtual std::int64_t LengthMs() const = 0;
  // Plays from the current position without waiting.
  virtual void Play() = 0;
  virtual void Close() = 0;
};

// QMediaPlayer with a QAudioOutput; a machine without a sound device plays silently.
std::unique_ptr<MusicPlayer> MakeQtMusicPlayer();
