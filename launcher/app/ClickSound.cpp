#include "ClickSound.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include "AppResources.h"

namespace {

// The clip lasts about 1.5 s; a device that never reports its end must not hold the window.
constexpr int kLongestWaitMs = 3000;

}  // namespace

ClickSound::ClickSound(QObject* parent) : QObject(parent) {}

ClickSound::~ClickSound() = default;

void ClickSound::Load(bool enabled) {
  enabled_ = enabled;
  if (!enabled_ || QMediaDevices::audioOutputs().isEmpty()) return;
  InitAppResources();
  effect_ = std::make_unique<QSoundEffect>();
  effect_->setSource(QUrl(QStringLiteral("qrc") + QString::fromLatin1(kSoundClick)));
}

void ClickSound::Play(bool wait) {
  if (!enabled_ || !effect_ || effect_->status() == QSoundEffect::Error) return;
  effect_->stop();
  effect_->play();
  if (!wait) return;

  QEventLoop loop;
  QTimer guard;
  guard.setSingleShot(true);
  connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
  connect(effect_.get(), &QSoundEffect::playingChanged, &loop, [&] {
    if (!effect_->isPlaying()) loop.quit();
  });
  connect(effect_.get(), &QSoundEffect::statusChanged, &loop, [&] {
    if (effect_->status() == QSoundEffect::Error) loop.quit();
  });
  guard.start(kLongestWaitMs);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}
