#include "AppFixture.h"

#include <QApplication>
#include <QBuffer>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "config/ConfigWriter.h"

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
  const QColor blocks[] = {kStartBlock, kStartHoverBlock, kQuitBlock,
                           kQuitHoverBlock, kAboutBlock, kAboutHoverBlock};
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
  PatcherSettings s;
  s.StartCaption = "Jouer";
  s.QuitCaption = "Quitter";
  s.AboutCaption = "\xC0 propos";
  for (int i = 0; i < 12; ++i) s.Messages[i] = "Message " + std::to_string(i);
  s.Messages[0] = "Impossible de lancer ";
  s.SkinBackgroundRect = {0, 0, 300, 200};
  s.SkinStartRect = {300, 0, 60, 20};
  s.SkinStartHoverRect = {300, 20, 60, 20};
  s.SkinQuitRect = {300, 40, 60, 20};
  s.SkinQuitHoverRect = {300, 60, 60, 20};
  s.SkinAboutRect = {300, 80, 60, 20};
  s.SkinAboutHoverRect = {300, 100, 60, 20};
  s.WindowSize = {300, 200};
  s.StartBounds = {10, 150, 60, 20};
  s.QuitBounds = {80, 150, 60, 20};
  s.AboutBounds = {150, 150, 60, 20};
  s.ProgressBounds = {20, 40, 200, 10};
  s.NewsBounds = {400, 400, 50, 50};
  s.ShowStart = s.ShowQuit = s.ShowProgress = true;
  s.ShowNews = false;
  s.ProgressFrameColor = 0x000000;
  s.ProgressBackColor = 0xFFFFFF;
  s.ProgressForeColor = 0x0000FF;  // red, in 0x00BBGGRR
  s.NewsBorderColor = 0x000000;
  s.ButtonFontName = "DejaVu Sans";
  s.ButtonFontSize = 8;
  s.ButtonFontColor = 0xFFFFFF;
  s.ProcessFontName = "DejaVu Sans";
  s.ProcessFontSize = 8;
  s.ProcessFontColor = 0xFFFFFF;
  s.RegisterUrl = "https://register.example.org/signup";
  s.PatchListUrl = "http://127.0.0.1:1/list.ini";
  s.GameExe = "bin\\Game.exe";
  s.GameParameters = "-window \"two words\"";
  s.SkinImage = SolidBlockSkin();
  return s;
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
  form_ = std::make_unique<TMainForm>(LauncherContext{
      loaded_, log_, runState_, shell_, programDir_, programDir_ + "MorvoPatcher",
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
