// Saves the X screen named by $DISPLAY, or one window of it, as a picture whose format the
// file's extension names (.png, or .ppm for tests that read the pixels back):
//   morvo_grab_screen OUT.png [WINDOW_ID]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: morvo_grab_screen OUT.png [WINDOW_ID]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QGuiApplication app(argc, argv);
  const WId window = argc == 3 ? std::strtoull(argv[2], nullptr, 0) : 0;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen || !screen->grabWindow(window).save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "morvo_grab_screen: cannot grab the screen into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
