// The real MorvoPatcher in a game folder of its own, on an X server (run under xvfb-run): it
// reads its configuration, shows its skin centred on the screen, loads a local news page, runs
// a patch run with nothing to fetch, and starts the game from its own folder when Start is
// clicked. The screen is saved as a PNG beside this test's build files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "SettingsBuilder.h"
#include "config/ConfigWriter.h"

using namespace morvo;

namespace {

QString g_programDir;  // where MorvoPatcher and libvka.so were built
QString g_outputDir;   // where the game folder and the screenshot go

const QColor kTop(0x18, 0x24, 0x48), kBottom(0x30, 0x58, 0x98);
const QColor kButton(0x2A, 0x7A, 0x3A), kButtonHover(0x3C, 0xA8, 0x50);

std::vector<std::uint8_t> Encode(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// 545 x 380 background over two rows of three 110 x 30 buttons with magenta corners.
QImage DrawSkin() {
  QImage skin(545, 440, QImage::Format_RGB32);
  skin.fill(QColor(0xFF, 0x00, 0xFF));
  QPainter painter(&skin);
  QLinearGradient sky(0, 0, 0, 380);
  sky.setColorAt(0, kTop);
  sky.setColorAt(1, kBottom);
  painter.fillRect(0, 0, 545, 380, sky);
  painter.fillRect(0, 0, 545, 10, kTop);  // a plain strip to probe
  painter.setPen(Qt::white);
  QFont title = painter.font();
  title.setPixelSize(28);
  title.setBold(true);
  painter.setFont(title);
  painter.drawText(QRect(0, 14, 545, 40), Qt::AlignCenter, QStringLiteral("Morvo Patcher"));
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      QPainterPath shape;
      shape.addRoundedRect(QRectF(column * 110 + 1, 380 + row * 30 + 1, 108, 28), 8, 8);
      painter.fillPath(shape, row == 0 ? kButton : kButtonHover);
    }
  }
  return skin;
}

QImage DrawBanner() {
  QImage banner(600, 100, QImage::Format_RGB32);  // larger than the band: cut, never scaled
  QPainter painter(&banner);
  QLinearGradient glow(0, 0, 600, 0);
  glow.setColorAt(0, QColor(0x60, 0x10, 0x10));
  glow.setColorAt(1, QColor(0xE0, 0x90, 0x20));
  painter.fillRect(banner.rect(), glow);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(24);
  painter.setFont(font);
  painter.drawText(QRect(0, 0, 545, 88), Qt::AlignCenter, QStringLiteral("Nouvelle saison !"));
  return banner;
}

PatcherSettings GameSettings(const std::string& folder) {
  return SettingsBuilder()
      .FrenchCaptions()
      .With([](PatcherSettings& s) {
        s.Messages = {"Impossible de lancer le jeu : ",
                      "V\xE9rification termin\xE9"
                      "e.",
                      "Connexion ...",
                      "Liste ...",
                      "Liste re\xE7ue.",
                      "Nouveaux patchs.",
                      "Le jeu est \xE0 jour.",
                      "Installation",
                      "Installation termin\xE9"
                      "e.",
                      "T\xE9l\xE9"
                      "chargement",
                      "Fusion",
                      "Compactage"};
        s.AboutText = "Lanceur de test.";
        s.BannerKind = 4;
        s.BannerWidth = 545;
        s.BannerData = Encode(DrawBanner(), "PNG");
      })
      .Logging()
      .Skin(Encode(DrawSkin(), "BMP"), {.background = {0, 0, 545, 380},
                                        .start = {0, 380, 110, 30},
                                        .startHover = {0, 410, 110, 30},
                                        .quit = {110, 380, 110, 30},
                                        .quitHover = {110, 410, 110, 30},
                                        .about = {220, 380, 110, 30},
                                        .aboutHover = {220, 410, 110, 30}})
      .Layout({.window = {545, 380},
               .start = {20, 334, 110, 30},
               .quit = {415, 334, 110, 30},
               .about = {217, 334, 110, 30},
               .progress = {20, 304, 505, 10},
               .news = {16, 66, 513, 208}})
      .Show({.start = true, .quit = true, .progress = true, .news = true})
      .Paint({.progressFrame = 0x00C0C0C0,
              .progressBack = 0x00402010,
              .progressFore = 0x003CB4E6,
              .newsBorder = 0x003CB4E6})
      .Fonts({"DejaVu Sans", 10, 0x00FFFFFF, true}, {"DejaVu Sans", 8, 0x00F0E6DC, false})
      .Addresses("file://" + folder + "news.html", "file://" + folder + "patchlist.ini",
                 "https://register.example.org/")
      .Game("game.sh", "--player \"Joueur de test\"")
      .Build();
}

void WriteText(const QString& path, const QByteArray& text, bool executable = false) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  file.write(text);
  file.close();
  if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A fresh game folder under the output folder, with the program, its library, the news page,
// an empty patch list, a game script and the configuration. Ends in '/'.
QString PrepareGameFolder() {
  QDir(g_outputDir + "/game").removeRecursively();
  EXPECT_TRUE(QDir().mkpath(g_outputDir + "/game"));
  const QString game = QDir(g_outputDir + "/game").absolutePath() + "/";
  for (const char* file : {"MorvoPatcher", "libvka.so"}) {
    EXPECT_TRUE(QFile::copy(g_programDir + "/" + file, game + file)) << file;
  }
  WriteText(game + "news.html",
            "<html><body style='background:#102040;color:white'>"
            "<h3>Nouvelles</h3><p>Serveur ouvert.</p></body></html>");
  WriteText(game + "patchlist.ini", "[options]\r\ndeny_play=0\r\n[patchs]\r\n");
  WriteText(game + "game.sh", "#!/bin/sh\npwd > started.txt\necho \"$@\" >> started.txt\n", true);
  EXPECT_TRUE(SaveConfig(game.toStdString(), GameSettings(game.toStdString())));
  return game;
}

// The screen place of the window: centred, 545 wide, 88 of banner over 380 of skin.
QRect WindowOnScreen() {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  return QRect((screen.width() - 545) / 2, (screen.height() - 468) / 2, 545, 468);
}

void Click(const QPoint& point) {
  QProcess::execute(QStringLiteral("xdotool"),
                    {QStringLiteral("mousemove"), QString::number(point.x()),
                     QString::number(point.y()), QStringLiteral("click"), QStringLiteral("1")});
}

QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished();
  return QString::fromUtf8(process.readAllStandardOutput());
}

const QString kNoTitle = QStringLiteral("(no title)");

// The titles that the window system holds for the visible windows of process pid, as it shows
// them to the player (_NET_WM_NAME, UTF-8), sorted.
QStringList VisibleWindowTitles(qint64 pid) {
  QStringList titles;
  const QString ids =
      Output(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--pid"), QString::number(pid)});
  for (const QString& id : ids.split('\n', Qt::SkipEmptyParts)) {
    // "_NET_WM_NAME = "title"" when set.
    const QString line =
        Output(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("-notype"),
                                         QStringLiteral("_NET_WM_NAME")})
            .trimmed();
    const qsizetype quote = line.indexOf('"');
    titles << (quote < 0 ? kNoTitle : line.mid(quote + 1).chopped(1));
  }
  titles.sort();
  return titles;
}

// The titles once count windows show, each with its title (a window may show before its title
// is set), or what shows after a few seconds.
QStringList WaitForTitles(qint64 pid, int count) {
  QStringList titles;
  // Whether they all showed in time or not, the caller compares what is there.
  (void)QTest::qWaitFor(
      [&] {
        titles = VisibleWindowTitles(pid);
        return titles.size() == count && !titles.contains(kNoTitle);
      },
      10000);
  return titles;
}

}  // namespace

TEST(ProgramUnderXvfb, ShowsTheSkinRunsAndStartsTheGameFromItsFolder) {
  const QString game = PrepareGameFolder();
  ASSERT_FALSE(::testing::Test::HasFailure());

  QProcess launcher;
  launcher.setWorkingDirectory(QStringLiteral("/"));  // the game must not depend on it
  launcher.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  launcher.start(game + "MorvoPatcher", {});
  ASSERT_TRUE(launcher.waitForStarted());

  const QString log = game + "MorvoPatcherLog.txt";
  const bool finished =
      QTest::qWaitFor([&] { return ReadAll(log).contains("Fin du log."); }, 60000);
  EXPECT_TRUE(finished) << ReadAll(log).toStdString();

  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect window = WindowOnScreen();
  QImage shot;
  const bool painted = QTest::qWaitFor(
      [&] {
        shot = screen->grabWindow(0).toImage();
        return shot.pixelColor(window.topLeft() + QPoint(5, 88 + 5)) == kTop;
      },
      20000);
  const QString png = g_outputDir + "/MorvoPatcher-window.png";
  shot.copy(window).save(png);
  std::printf("screenshot: %s\n", qPrintable(png));
  ASSERT_TRUE(painted) << "the skin never showed at the window's centred place";
  EXPECT_EQ(shot.pixelColor(window.topLeft() + QPoint(20 + 3, 88 + 334 + 15)), kButton);
  // The button's magenta corner shows the background through it.
  EXPECT_NE(shot.pixelColor(window.topLeft() + QPoint(20, 88 + 334)), QColor(0xFF, 0x00, 0xFF));
  EXPECT_EQ(shot.pixelColor(window.topLeft() + QPoint(19, 88 + 303)), QColor(0xC0, 0xC0, 0xC0));

  if (finished) {
    // Start is enabled by the run: click it where the window shows it.
    Click(window.topLeft() + QPoint(20 + 55, 88 + 334 + 15));
    EXPECT_TRUE(launcher.waitForFinished(20000));
    EXPECT_EQ(launcher.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(launcher.exitCode(), 0);
    const QString marker = game + "started.txt";
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 10000));
    EXPECT_EQ(ReadAll(marker), (game.chopped(1) + "\n--player Joueur de test\n").toUtf8());
  }
  if (launcher.state() != QProcess::NotRunning) {
    launcher.kill();
    launcher.waitForFinished();
  }
}

// The window system shows the titles that the program configures, and nothing appended: the
// main window's, then the About window's beside it.
TEST(ProgramUnderXvfb, WindowTitlesAreExactlyTheConfiguredOnes) {
  const QString game = PrepareGameFolder();
  ASSERT_FALSE(::testing::Test::HasFailure());
  QProcess launcher;
  launcher.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  launcher.start(game + "MorvoPatcher", {});
  ASSERT_TRUE(launcher.waitForStarted());

  EXPECT_EQ(WaitForTitles(launcher.processId(), 1).join(" | ").toStdString(), "Morvo Patcher");

  const QRect window = WindowOnScreen();
  QStringList titles;
  for (int attempt = 0; attempt < 3 && titles.size() < 2; ++attempt) {
    Click(window.topLeft() + QPoint(217 + 55, 88 + 334 + 15));
    titles = WaitForTitles(launcher.processId(), 2);
  }
  EXPECT_EQ(titles.join(" | ").toStdString(), "Morvo Patcher | Morvo Patcher");

  launcher.kill();
  launcher.waitForFinished();
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PROGRAM_DIR OUTPUT_DIR (on an X display)\n", argv[0]);
    return 2;
  }
  g_programDir = QString::fromLocal8Bit(argv[1]);
  g_outputDir = QString::fromLocal8Bit(argv[2]);
  qputenv("QT_QPA_PLATFORM", "xcb");
  QGuiApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
