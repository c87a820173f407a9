// minimal_news_window URL: the start-up yardstick, the least a Qt program does to show a page in
// a web view: one window of the launcher's size holding a web view where the launcher has its
// news page. The first-paint probe is the launcher's own.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>
#include <QWidget>
#include <cstdio>

#include "FirstPaintProbe.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: minimal_news_window URL\n");
    return 2;
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  QWidget window;
  window.resize(545, 468);  // the demo launcher's window: banner band and skinned area
  auto* view = new QWebEngineView(&window);
  view->setGeometry(16, 154, 513, 208);  // its news bounds, below the banner
  view->load(QUrl(QString::fromLocal8Bit(argv[1])));
  WatchFirstPaint(&window);
  window.show();
  return application.exec();
}
