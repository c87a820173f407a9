#include "FirstPaintProbe.h"

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace {

class FirstPaintFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      // steady_clock is the monotonic clock every process of the machine shares.
      const std::chrono::duration<double> now = std::chrono::steady_clock::now().time_since_epoch();
      std::printf("first-paint %.6f\n", now.count());
      std::fflush(stdout);
      watched->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }
};

}  // namespace

void WatchFirstPaint(QWidget* window) {
  if (qEnvironmentVariableIsEmpty("MORVO_BENCH_FIRST_PAINT")) return;
  window->installEventFilter(new FirstPaintFilter(window));
}
