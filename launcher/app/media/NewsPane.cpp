#include "media/NewsPane.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QUrl>
#include <QWebEngineView>
#include <QWidget>

#include "QtLayout.h"
#include "SettingsColor.h"
#include "text/Windows1252.h"

using namespace morvo;

namespace {

constexpr int kFullProgress = 100;  // the view reports percents

QWidget* MakeStrip(QWidget* panel, const char* name) {
  auto* strip = new QWidget(panel);
  strip->setObjectName(name);
  strip->setAutoFillBackground(true);
  return strip;
}

}  // namespace

void NewsPane::PrepareWebEngine() {
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

NewsPane::NewsPane(QWidget* panel, const PatcherSettings& settings)
    : settings_(settings),
      wbsNews_(new QWebEngineView(panel)),
      strips_{MakeStrip(panel, "Pnl_BBorderLeft"), MakeStrip(panel, "Pnl_BBorderTop"),
              MakeStrip(panel, "Pnl_BBorderRight"), MakeStrip(panel, "Pnl_BBorderBottom")} {
  wbsNews_->setObjectName("Wbs_News");
  connect(wbsNews_, &QWebEngineView::loadProgress, this,
          [this](int progress) { emit progressChanged(progress, kFullProgress); });
  connect(wbsNews_, &QWebEngineView::loadFinished, this, [this] { emit navigationCompleted(); });
}

void NewsPane::Layout() {
  const LayoutRect bounds = ControlBounds(settings_.NewsBounds);
  wbsNews_->setGeometry(ToQRect(bounds));
  const std::array<LayoutRect, 4> strips = NewsStrips(bounds);
  Pnl_BBorderLeft()->setGeometry(ToQRect(strips[0]));
  Pnl_BBorderTop()->setGeometry(ToQRect(strips[1]));
  Pnl_BBorderRight()->setGeometry(ToQRect(strips[2]));
  Pnl_BBorderBottom()->setGeometry(ToQRect(strips[3]));

  const QColor colour = ColorFromSetting(settings_.NewsBorderColor);
  for (QWidget* strip : strips_) {
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, colour);
    strip->setPalette(palette);
    strip->raise();  // the frame covers the page's outermost pixels
    strip->setVisible(settings_.ShowNews);
  }
  // Hidden, the view still loads: the page's completion is what starts the patch run.
  wbsNews_->setVisible(settings_.ShowNews);
}

void NewsPane::Request() {
  wbsNews_->load(QUrl(QString::fromStdString(Windows1252ToUtf8(settings_.NewsUrl))));
}
