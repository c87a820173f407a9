// The news pane with the real web engine (run under Xvfb) against pages served on 127.0.0.1.
#include "media/NewsPane.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QImage>
#include <QTest>
#include <QWebEngineView>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "SettingsColor.h"

using namespace morvo;

namespace {

constexpr int kLoadTimeoutMs = 30000;

// HTML pages, each optionally answered after a delay, and how often each was asked for.
class PageServer {
 public:
  PageServer() {
    server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      Page page;
      {
        std::lock_guard lock(mutex_);
        ++requests_[request.path];
        const auto found = pages_.find(request.path);
        if (found == pages_.end()) {
          response.status = 404;
          return;
        }
        page = found->second;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(page.delayMs));
      response.set_content(page.body, page.type);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ~PageServer() {
    server_.stop();
    thread_.join();
  }

  void Add(const std::string& path, std::string body, int delayMs = 0,
           std::string type = "text/html") {
    std::lock_guard lock(mutex_);
    pages_[path] = {std::move(body), std::move(type), delayMs};
  }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int Requests(const std::string& path) {
    std::lock_guard lock(mutex_);
    return requests_[path];
  }

 private:
  struct Page {
    std::string body, type;
    int delayMs = 0;
  };
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::map<std::string, Page> pages_;
  std::map<std::string, int> requests_;
};

// A port on 127.0.0.1 that nobody listens on: bound, read back, then released.
int ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

class MediaNews : public ::testing::Test {
 protected:
  MediaNews() {
    panel_.resize(640, 480);
    settings_.NewsBounds = {10, 20, 300, 200};
    settings_.NewsBorderColor = 0x000000FF;  // red, as 0x00BBGGRR
    settings_.ShowNews = true;
  }

  // The pane, laid out, with its two signals recorded.
  NewsPane& Pane() {
    pane_ = std::make_unique<NewsPane>(&panel_, settings_);
    pane_->Layout();
    QObject::connect(pane_.get(), &NewsPane::progressChanged, [this](int progress, int max) {
      progress_.push_back(progress);
      maxima_.push_back(max);
    });
    QObject::connect(pane_.get(), &NewsPane::navigationCompleted, [this] { ++completions_; });
    return *pane_;
  }

  void Request(const std::string& url) {
    settings_.NewsUrl = url;
    pane_->Request();
  }

  bool WaitForCompletions(int count) {
    return QTest::qWaitFor([&] { return completions_ >= count; }, kLoadTimeoutMs);
  }

  PageServer server_;
  QWidget panel_;
  PatcherSettings settings_;
  std::unique_ptr<NewsPane> pane_;
  std::vector<int> progress_;
  std::vector<int> maxima_;
  int completions_ = 0;
};

TEST_F(MediaNews, LayoutPlacesThePageUnderAFrameOfFourStrips) {
  NewsPane& pane = Pane();
  panel_.show();
  EXPECT_EQ(pane.Wbs_News()->geometry(), QRect(10, 20, 300, 200));
  const struct {
    QWidget* strip;
    QRect bounds;
  } strips[] = {{pane.Pnl_BBorderLeft(), {10, 20, 2, 200}},
                {pane.Pnl_BBorderTop(), {10, 20, 300, 2}},
                {pane.Pnl_BBorderRight(), {308, 20, 2, 200}},
                {pane.Pnl_BBorderBottom(), {10, 218, 300, 2}}};
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel_));
  const QImage shot = panel_.grab().toImage();
  for (const auto& row : strips) {
    SCOPED_TRACE(row.strip->objectName().toStdString());
    EXPECT_EQ(row.strip->geometry(), row.bounds);
    EXPECT_TRUE(row.strip->isVisible());
    EXPECT_EQ(row.strip->palette().color(QPalette::Window), QColor(255, 0, 0));
    // The strip lies above the page: it is what is found, and drawn, at its own centre.
    EXPECT_EQ(panel_.childAt(row.bounds.center()), row.strip);
    EXPECT_EQ(shot.pixelColor(row.bounds.center()), QColor(255, 0, 0));
  }
  EXPECT_TRUE(pane.Wbs_News()->isVisible());
}

// Rectangles come from the configuration file: the extremes of 32-bit values give a page and a
// frame within what the window system can address.
TEST_F(MediaNews, ExtremeBoundsAreClampedLikeEveryOtherControl) {
  const SettingsRect extremes[] = {{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
                                   {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
                                   {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MIN}};
  for (const SettingsRect& bounds : extremes) {
    settings_.NewsBounds = bounds;
    SCOPED_TRACE(std::to_string(bounds.X) + "," + std::to_string(bounds.Y) + " " +
                 std::to_string(bounds.Width) + "x" + std::to_string(bounds.Height));
    NewsPane& pane = Pane();
    for (const QWidget* widget :
         {static_cast<QWidget*>(pane.Wbs_News()), pane.Pnl_BBorderLeft(), pane.Pnl_BBorderTop(),
          pane.Pnl_BBorderRight(), pane.Pnl_BBorderBottom()}) {
      const QRect rect = widget->geometry();
      SCOPED_TRACE(widget->objectName().toStdString());
      EXPECT_GE(rect.x(), -32768);
      EXPECT_LE(rect.x(), 32767);
      EXPECT_GE(rect.y(), -32768);
      EXPECT_LE(rect.y(), 32767);
      EXPECT_GE(rect.width(), 0);
      EXPECT_LE(rect.width(), 32767);
      EXPECT_GE(rect.height(), 0);
      EXPECT_LE(rect.height(), 32767);
    }
  }
}

TEST_F(MediaNews, SystemColourNamesAPaletteColour) {
  settings_.NewsBorderColor = static_cast<std::int32_t>(0x80000000u + 15);  // button face
  NewsPane& pane = Pane();
  EXPECT_EQ(pane.Pnl_BBorderTop()->palette().color(QPalette::Window),
            ColorFromSetting(settings_.NewsBorderColor));
}

TEST_F(MediaNews, APageMovesTheGaugeAndCompletesEachNavigation) {
  server_.Add("/news", "<html><body><h1>News</h1><img src='/slow.png'></body></html>");
  server_.Add("/slow.png", "not really a picture", 400, "image/png");
  server_.Add("/later", "<html><body>Later</body></html>");
  Pane();
  panel_.show();
  Request(server_.Url("/news"));
  ASSERT_TRUE(WaitForCompletions(1));
  EXPECT_EQ(server_.Requests("/slow.png"), 1);  // the page finished after its picture
  ASSERT_FALSE(progress_.empty());
  EXPECT_EQ(progress_.back(), 100);
  EXPECT_LT(progress_.front(), 100);  // it moved
  for (int max : maxima_) EXPECT_EQ(max, 100);
  for (std::size_t i = 1; i < progress_.size(); ++i) EXPECT_GE(progress_[i], progress_[i - 1]);

  // A later navigation (a link the user follows) completes as well.
  Request(server_.Url("/later"));
  ASSERT_TRUE(WaitForCompletions(2));
}

TEST_F(MediaNews, APageWithFramesCompletesOnceItsFramesHaveLoaded) {
  server_.Add("/frames",
              "<html><body><iframe src='/frame1'></iframe><iframe src='/frame2'></iframe>"
              "</body></html>");
  server_.Add("/frame1", "<html><body>one</body></html>", 100);
  server_.Add("/frame2", "<html><body>two <img src='/frame2.png'></body></html>", 300);
  server_.Add("/frame2.png", "", 300, "image/png");
  Pane();
  panel_.show();
  Request(server_.Url("/frames"));
  ASSERT_TRUE(WaitForCompletions(1));
  EXPECT_EQ(server_.Requests("/frame1"), 1);
  EXPECT_EQ(server_.Requests("/frame2.png"), 1);
  EXPECT_EQ(progress_.back(), 100);
  EXPECT_GT(progress_.size(), 2u);
}

TEST_F(MediaNews, AnUnreachableAddressStillCompletes) {
  Pane();
  panel_.show();
  Request("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/news");
  EXPECT_TRUE(WaitForCompletions(1));
}

TEST_F(MediaNews, AHiddenPaneStillRequestsAndCompletesThePage) {
  settings_.ShowNews = false;
  server_.Add("/news", "<html><body>hidden news</body></html>");
  NewsPane& pane = Pane();
  panel_.show();
  EXPECT_FALSE(pane.Wbs_News()->isVisible());
  for (QWidget* strip : {pane.Pnl_BBorderLeft(), pane.Pnl_BBorderTop(), pane.Pnl_BBorderRight(),
                         pane.Pnl_BBorderBottom()}) {
    EXPECT_FALSE(strip->isVisible());
  }
  Request(server_.Url("/news"));
  ASSERT_TRUE(WaitForCompletions(1));
  EXPECT_EQ(server_.Requests("/news"), 1);
}

TEST_F(MediaNews, AnEmptyAddressStillCompletes) {
  Pane();
  panel_.show();
  Request("");
  EXPECT_TRUE(WaitForCompletions(1));
}

}  // namespace
