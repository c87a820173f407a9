// The click of the skinned buttons: the WAVE "Sound_Click" of the program's resources.
#pragma once

#include <QObject>
#include <memory>

class QSoundEffect;

class ClickSound : public QObject {
  Q_OBJECT

 public:
  explicit ClickSound(QObject* parent = nullptr);
  ~ClickSound() override;

  // Locates the sound in the resources and prepares it for playing; a disabled sound or a
  // machine without a sound output prepares nothing and every Play is silent.
  void Load(bool enabled);
  // Plays the click; with wait, returns once it has finished (user input is held meanwhile,
  // so the click that caused it cannot be repeated), else at once.
  void Play(bool wait);

  bool Enabled() const { return enabled_; }

 private:
  bool enabled_ = false;
  std::unique_ptr<QSoundEffect> effect_;
};
