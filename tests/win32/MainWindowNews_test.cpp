// The main window with a news page that never completes: the run must start anyway, once. The
// page's server takes no connection; where the browser control cannot be created (no HTML
// engine), the run starts at once instead of after the time limit: either way exactly once.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "LoopbackSockets.h"
#include "MainWindow.h"
#include "SettingsBuilder.h"
#include "SkinBmp.h"
#include "TempDir.h"
#include "config/ConfigWriter.h"
#include "engine/PatchRunState.h"

using namespace morvo;

namespace {

// Records program starts instead of making them.
class RecordingShell : public Shell {
 public:
  bool Start(const std::string&, std::string_view, const std::string&) override { return true; }
};

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Handles the window's messages until done() or the time is up.
bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

}  // namespace

TEST(MainWindowNews, ThePatchRunStartsOnceWhenThePageNeverCompletes) {
  TempDir dir;
  FullListener silentNews;
  const std::string news = "http://127.0.0.1:" + std::to_string(silentNews.port()) + "/news.html";
  const std::string list = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/list.ini";
  const PatcherSettings written = SettingsBuilder()
                                      .NumberedMessages("Message ")
                                      .Skin(MakeBmp24(40, 30, [](int, int) { return 0x336699u; }),
                                            {.background = {0, 0, 40, 30},
                                             .start = {},
                                             .startHover = {},
                                             .quit = {},
                                             .quitHover = {},
                                             .about = {},
                                             .aboutHover = {}})
                                      .Layout({.window = {40, 30},
                                               .start = {},
                                               .quit = {},
                                               .about = {},
                                               .progress = {2, 20, 30, 5},
                                               .news = {0, 0, 20, 10}})
                                      .Addresses(news, list)
                                      .Logging()
                                      .Build();
  ASSERT_TRUE(SaveConfig(dir.path(), written));

  PatcherSettings settings;
  Logger log(dir.path());
  PatchRunState runState(dir.path());
  RecordingShell shell;
  int endedWith = -1;
  MainWindow window(LauncherContext{settings, log, runState, shell, dir.path(),
                                    dir / "MorvoPatcher.exe", [&](int code) { endedWith = code; },
                                    std::chrono::milliseconds(300)});
  // Windows need a display: the run-time library's own driver has none without an X server.
  if (window.Window() == nullptr) GTEST_SKIP() << "no display to create windows on";
  ASSERT_FALSE(window.TerminateRequested());
  window.Show();
  // The task bar shows the program's title, from the window that owns the main window.
  const HWND owner = ::GetWindow(window.Window(), GW_OWNER);
  ASSERT_NE(owner, nullptr);
  wchar_t title[32] = {};
  ::GetWindowTextW(owner, title, 32);
  EXPECT_STREQ(title, L"XAM Patcher..");

  const std::string logPath = dir / "MorvoPatcherLog.txt";
  const auto logText = [&] { return ReadFileBytes(logPath); };
  ASSERT_TRUE(PumpUntil([&] { return logText().find("Fin du log.") != std::string::npos; },
                        std::chrono::seconds(60)))
      << logText();
  // Long after the time limit, the page's wait is over and nothing starts a second run.
  PumpUntil([] { return false; }, std::chrono::seconds(1));
  EXPECT_FALSE(window.WaitingForNews());
  EXPECT_EQ(Count(logText(), "Fin du log."), 1u) << logText();
  EXPECT_EQ(endedWith, -1);
}
