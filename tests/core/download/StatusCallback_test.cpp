#include "download/StatusCallback.h"

#include <gtest/gtest.h>

#include "FakeWindow.h"
#include "text/MessageFormat.h"

using namespace morvo;

namespace {

class StatusCallbackTest : public ::testing::Test {
 protected:
  StatusCallbackTest() {
    settings.Messages[3] = "Liste";
    settings.Messages[9] = "Patch";
  }

  // The progress line as the user's locale writes it.
  static std::string Line(const char* name, const char* received, const char* total,
                          const char* speed) {
    std::string text = std::string("Patch ") + name + " ... (" + received + "/" + total + "Ko - " +
                       speed + " Ko/s)";
    for (char& c : text) {
      if (c == ',') c = UserDecimalSeparator();
    }
    return text;
  }

  void StartPatchDownload(std::uint32_t at) {
    state.ListPhase = false;
    state.DownloadUrls = {"http://s/a/p0001.pak", "http://s/b/p0002.pak"};
    state.DownloadsStarted = 2;
    tick = at;
    callback.OnStartBinding();
  }

  PatcherSettings settings;
  Logger log{"/nonexistent/"};
  FakeWindow window;
  PatchRunState state{"/game/"};
  PatchContext context{settings, log, window, state, "/game/", "/game/MorvoPatcher"};
  std::uint32_t tick = 0;
  std::optional<std::uint64_t> freeBytes;
  std::vector<std::string> spaceAskedFor;
  cstatus_callback callback{context, [this] { return tick; },
                            [this](const std::string& folder) {
                              spaceAskedFor.push_back(folder);
                              return freeBytes;
                            }};
};

TEST_F(StatusCallbackTest, ListDownloadShowsItsTextAndMovesOnlyTheGauge) {
  callback.OnStartBinding();
  callback.OnProgress(0, 0);
  callback.OnProgress(100, 300);
  callback.OnProgress(300, 300);

  EXPECT_EQ(window.calls, (std::vector<std::string>{"status Liste", "progress 0", "max 300",
                                                    "progress 100", "progress 300"}));
  EXPECT_GE(window.eventPumps, 4);
}

TEST_F(StatusCallbackTest, SpeedIsSampledEvery500Milliseconds) {
  StartPatchDownload(1000);
  callback.OnProgress(1024, 4096);
  EXPECT_EQ(window.statusTexts.back(), Line("p0002.pak", "1,00", "4,00", "0,00"));

  tick = 1499;
  callback.OnProgress(2048, 4096);
  EXPECT_EQ(window.statusTexts.back(), Line("p0002.pak", "2,00", "4,00", "0,00"));

  tick = 1500;  // 51200 bytes in 500 ms: 100 KiB/s
  callback.OnProgress(51200, 102400);
  EXPECT_EQ(window.statusTexts.back(), Line("p0002.pak", "50,00", "100,00", "100,00"));

  tick = 1700;  // no new sample yet: the line repeats the last speed
  callback.OnProgress(102400, 102400);
  EXPECT_EQ(window.statusTexts.back(), Line("p0002.pak", "100,00", "100,00", "100,00"));
  EXPECT_EQ(state.SampleBytes, 51200u);
  EXPECT_EQ(state.SampleTick, 1500u);
}

TEST_F(StatusCallbackTest, TickCountWrapDoesNoHarm) {
  StartPatchDownload(0xFFFFFF00u);
  tick = 0x00000100u;  // 512 ms later, across the wrap
  callback.OnProgress(1024 * 512, 1024 * 1024);
  EXPECT_FLOAT_EQ(state.SpeedKiBps, 1000.0f);
}

TEST_F(StatusCallbackTest, BodyStartingOverRestartsTheSample) {
  StartPatchDownload(0);
  tick = 600;
  callback.OnProgress(600 * 1024, 0);
  tick = 700;
  callback.OnProgress(0, 0);  // the server would not resume
  EXPECT_EQ(state.SpeedKiBps, 0.0f);
  tick = 1200;
  callback.OnProgress(512 * 1024, 0);
  EXPECT_FLOAT_EQ(state.SpeedKiBps, 1024.0f);
}

TEST_F(StatusCallbackTest, EveryDownloadRestartsTheSampleAndStopHandsOnTheStatus) {
  StartPatchDownload(0);
  tick = 800;
  callback.OnProgress(4096, 4096);
  ASSERT_GT(state.SpeedKiBps, 0.0f);
  tick = 900;
  callback.OnStartBinding();
  EXPECT_EQ(state.SpeedKiBps, 0.0f);
  EXPECT_EQ(state.SampleBytes, 0u);
  EXPECT_EQ(state.SampleTick, 900u);

  const DownloadStatus failed{false, "HTTP 404"};
  EXPECT_EQ(callback.OnStopBinding(failed).Error, "HTTP 404");
  EXPECT_EQ(window.statusTexts.size(), 1u);  // the end of a download shows nothing of its own
}

TEST_F(StatusCallbackTest, TheListNeedsItsLengthFreeAndAContainerTwiceItsLength) {
  freeBytes = 1000;
  EXPECT_TRUE(callback.HasRoomFor(1000));  // the list: written once
  EXPECT_FALSE(callback.HasRoomFor(1001));
  StartPatchDownload(0);
  EXPECT_TRUE(callback.HasRoomFor(500));  // a container: its entries are written beside it
  EXPECT_FALSE(callback.HasRoomFor(501));
  EXPECT_EQ(spaceAskedFor.back(), "/game/");
  freeBytes.reset();  // a file system that does not say: the download goes ahead
  EXPECT_TRUE(callback.HasRoomFor(1u << 30));
}

}  // namespace
