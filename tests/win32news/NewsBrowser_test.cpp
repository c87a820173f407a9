// The browser control as this machine has it: under Wine without its HTML engine the control
// exists but every navigation ends in a navigation error, which must count as completed.
#include "NewsBrowser.h"

#include <memory>

#include "TestHttpServer.h"
#include "TestWindow.h"

namespace {

class NewsBrowserTest : public WindowTest {
 protected:
  // No progress handler: the control reports progress to nobody without harm.
  NewsBrowser::Events Counting() {
    return {nullptr, [this] { ++completed_; }};
  }

  int completed_ = 0;
};

TEST_F(NewsBrowserTest, HostWindowFillsTheBoundsAndFollowsVisibility) {
  NewsBrowser browser(parent_, RECT{240, 152, 492, 281}, Counting());
  ASSERT_NE(browser.Window(), nullptr);
  EXPECT_EQ(::GetParent(browser.Window()), parent_);
  EXPECT_EQ(PlaceOf(browser.Window()), (RECT{240, 152, 252, 129}));
  RECT client;
  ::GetClientRect(browser.Window(), &client);
  EXPECT_EQ(client, (RECT{0, 0, 252, 129}));
  EXPECT_TRUE(::IsWindowVisible(browser.Window()));
  browser.SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(browser.Window()));
  browser.SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(browser.Window()));
}

TEST_F(NewsBrowserTest, WithoutAWindowNothingIsCreatedAndNothingNavigates) {
  // No parent to host the control: the object stays usable and refuses to navigate.
  NewsBrowser browser(nullptr, RECT{0, 0, 10, 10}, Counting());
  EXPECT_FALSE(browser.Created());
  EXPECT_EQ(browser.Window(), nullptr);
  browser.SetVisible(false);
  EXPECT_FALSE(browser.Navigate("about:blank"));
  EXPECT_EQ(completed_, 0);
}

TEST_F(NewsBrowserTest, LeavesNoWindowBehind) {
  HWND host;
  {
    NewsBrowser browser(parent_, RECT{0, 0, 100, 100}, Counting());
    host = browser.Window();
    ASSERT_TRUE(::IsWindow(host));
  }
  EXPECT_FALSE(::IsWindow(host));
  EXPECT_EQ(::GetWindow(parent_, GW_CHILD), nullptr);
}

TEST_F(NewsBrowserTest, EveryNavigationEndsInACompletion) {
  NewsBrowser browser(parent_, RECT{0, 0, 200, 100}, Counting());
  if (!browser.Created()) GTEST_SKIP() << "no web browser control on this machine";
  // A blank page, a page that does not exist (Windows-1252 é in its name) and a server that
  // refuses the connection: a page, an error, whatever the control makes of them.
  const char* urls[] = {"about:blank", "file:///C:/no-such-news-\xE9.html", "http://127.0.0.1:1/"};
  for (const char* url : urls) {
    const int before = completed_;
    ASSERT_TRUE(browser.Navigate(url)) << url;
    EXPECT_TRUE(PumpUntil([&] { return completed_ > before; }, 15000)) << url;
  }
}

TEST_F(NewsBrowserTest, AsksTheNewsServerForTheAddressGiven) {
  // A news server that answers: the control asks it for the page, and even a page the control
  // cannot show (no HTML engine under Wine) ends in a completion.
  morvo::TestHttpServer server;
  server.Serve("/news.html", "<html><body>News</body></html>");
  NewsBrowser browser(parent_, RECT{0, 0, 200, 100}, Counting());
  if (!browser.Created()) GTEST_SKIP() << "no web browser control on this machine";
  ASSERT_TRUE(browser.Navigate(server.Url("/news.html")));
  EXPECT_TRUE(PumpUntil([&] { return completed_ > 0; }, 15000));
  EXPECT_EQ(server.Requests("/news.html"), 1);
}

TEST_F(NewsBrowserTest, CompletionHandlerMayDestroyTheBrowser) {
  // The patch run starts inside the first completion and may end with the window closed.
  std::unique_ptr<NewsBrowser> browser;
  int completions = 0;
  browser = std::make_unique<NewsBrowser>(parent_, RECT{0, 0, 200, 100},
                                          NewsBrowser::Events{nullptr, [&] {
                                                                ++completions;
                                                                browser.reset();
                                                              }});
  if (!browser->Created()) GTEST_SKIP() << "no web browser control on this machine";
  EXPECT_TRUE(browser->Navigate("about:blank"));
  EXPECT_TRUE(PumpUntil([&] { return completions > 0; }, 15000));
  PumpUntil([] { return false; }, 500);  // late events of the torn-down control go nowhere
  EXPECT_EQ(completions, 1);
  EXPECT_EQ(browser, nullptr);
}

}  // namespace
