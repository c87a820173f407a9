#include "AppFixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include "SettingsBuilder.h"
#include "config/ConfigWriter.h"

using namespace morvo;

SilentServer::SilentServer() {
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(socket_, 16) != 0 ||
      ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ADD_FAILURE() << "no silent server";
    return;
  }
  port_ = ntohs(address.sin_port);
}

SilentServer::~SilentServer() {
  if (socket_ >= 0) ::close(socket_);
}

std::string SilentServer::Url() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/news.html";
}

std::vector<std::uint8_t> SolidBlockSkin() {
  QImage skin(400, 300, QImage::Format_RGB32);
  skin.fill(Qt::black);
  QPainter painter(&skin);
  painter.fillRect(0, 0, 300, 200, kBackgroundBlock);
  const QColor blocks[] = {kStartBlock,     kStartHoverBlock, kQuitBlock,
                           kQuitHoverBlock, kAboutBlock,      kAboutHoverBlock};
  for (int i = 0; i < 6; ++i) painter.fillRect(300, i * 20, 60, 20, blocks[i]);
  painter.fillRect(302, 2, 6, 6, kMagenta);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  skin.save(&buffer, "BMP");
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

PatcherSettings SolidBlockSettings() {
  return SettingsBuilder()
      .FrenchCaptions()
      .NumberedMessages("Message ")
      .Message(0, "Impossible de lancer ")
      .Skin(SolidBlockSkin(), {.background = {0, 0, 300, 200},
                               .start = {300, 0, 60, 20},
                               .startHover = {300, 20, 60, 20},
                               .quit = {300, 40, 60, 20},
                               .quitHover = {300, 60, 60, 20},
                               .about = {300, 80, 60, 20},
                               .aboutHover = {300, 100, 60, 20}})
      .Layout({.window = {300, 200},
               .start = {10, 150, 60, 20},
               .quit = {80, 150, 60, 20},
               .about = {150, 150, 60, 20},
               .progress = {20, 40, 200, 10},
               .news = {400, 400, 50, 50}})
      .Show({.start = true, .quit = true, .progress = true, .news = false})
      .Paint({.progressFrame = 0x000000,
              .progressBack = 0xFFFFFF,
              .progressFore = 0x0000FF,  // red, in 0x00BBGGRR
              .newsBorder = 0x000000})
      .Fonts({"DejaVu Sans", 8, 0xFFFFFF, false}, {"DejaVu Sans", 8, 0xFFFFFF, false})
      .Addresses({}, "http://127.0.0.1:1/list.ini", "https://register.example.org/signup")
      .Game("bin\\Game.exe", "-window \"two words\"")
      .Build();
}

void WhenModalOpens(std::function<void(QWidget*)> handle) {
  auto* poll = new QTimer;
  auto deadline = std::make_shared<int>(500);  // 5 seconds of 10 ms polls
  QObject::connect(poll, &QTimer::timeout, [poll, deadline, handle] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      poll->stop();
      poll->deleteLater();
      handle(modal);
    } else if (--*deadline == 0) {
      poll->stop();
      poll->deleteLater();
      ADD_FAILURE() << "no modal window opened";
    }
  });
  poll->start(10);
}

void ExpectErrorBox(QString& shownText) {
  WhenModalOpens([&shownText](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Morvo Patcher"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    shownText = box->text();
    box->accept();
  });
}

AppTest::AppTest()
    : programDir_(folder_.path().toStdString() + "/"), log_(programDir_), runState_(programDir_) {}

AppTest::~AppTest() = default;

TMainForm& AppTest::MakeForm(const PatcherSettings& settings) {
  PatcherSettings written = settings;
  if (written.NewsUrl.empty()) written.NewsUrl = newsServer_.Url();
  EXPECT_TRUE(SaveConfig(programDir_, written));
  form_.reset();
  loaded_ = PatcherSettings{};
  form_ = std::make_unique<TMainForm>(
      LauncherContext{loaded_, log_, runState_, shell_, programDir_, programDir_ + "MorvoPatcher",
                      [this](int code) { exitCodes_.push_back(code); }});
  return *form_;
}

QImage AppTest::Grab() { return form_->grab().toImage(); }

QWidget* AppTest::Control(const char* name) const {
  auto* control = form_->findChild<QWidget*>(QString::fromLatin1(name));
  EXPECT_NE(control, nullptr) << name;
  return control;
}

QColor AppTest::PixelOnPanel(int x, int y) {
  const QPoint at = Control("Panel")->mapTo(form_.get(), QPoint(x, y));
  return Grab().pixelColor(at);
}
