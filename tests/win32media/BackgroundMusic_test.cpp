// The music's commands to its device and its loop timer, with a fake device and a real window
// owning the timer.
#include "BackgroundMusic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// Answers as a device would and keeps every command, the alias replaced by "A".
struct FakeDevice {
  MCIERROR openError = 0;
  MCIERROR statusError = 0;
  std::wstring lengthReply = L"183456";
  HWND owner = nullptr;
  std::vector<std::wstring> commands;
  bool timerArmedAtClose = false;

  MCIERROR operator()(const std::wstring& command, std::wstring& reply) {
    std::wstring logged = command;
    const std::size_t alias = logged.find(L"MorvoBGM");
    if (alias != std::wstring::npos) {
      const std::size_t end = logged.find(L' ', alias);
      logged.replace(alias, end == std::wstring::npos ? std::wstring::npos : end - alias, L"A");
    }
    commands.push_back(logged);
    if (logged.starts_with(L"open")) return openError;
    if (logged.starts_with(L"status")) {
      reply = lengthReply;
      return statusError;
    }
    // Killing the timer tells whether it was still armed; a closed device needs none.
    if (logged.starts_with(L"close"))
      timerArmedAtClose = ::KillTimer(owner, BackgroundMusic::kLoopTimerId);
    return 0;
  }
};

class Win32Music : public ::testing::Test {
 protected:
  Win32Music() {
    owner_ = ::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr);
    device_.owner = owner_;
  }
  ~Win32Music() override { ::DestroyWindow(owner_); }

  BackgroundMusic Make(bool enabled = true) {
    return BackgroundMusic(
        owner_, enabled,
        [this](const std::wstring& command, std::wstring& reply) {
          return device_(command, reply);
        },
        [this](HWND owner, const std::wstring& text) { shown_.emplace_back(owner, text); });
  }

  // Whether the loop timer is armed; asking disarms it.
  bool TakeTimer() { return ::KillTimer(owner_, BackgroundMusic::kLoopTimerId) != FALSE; }

  int Count(const std::wstring& verb) {
    return static_cast<int>(
        std::count_if(device_.commands.begin(), device_.commands.end(),
                      [&](const std::wstring& c) { return c.starts_with(verb); }));
  }

  HWND owner_ = nullptr;
  FakeDevice device_;
  std::vector<std::pair<HWND, std::wstring>> shown_;
};

TEST_F(Win32Music, OpensRewindsAndTakesTheLoopIntervalFromTheTrackLength) {
  auto music = Make();
  ASSERT_TRUE(music.Load("C:\\Jeu\\th\xC3\xA8me.mp3"));
  EXPECT_EQ(device_.commands,
            (std::vector<std::wstring>{L"open \"C:\\Jeu\\th\u00E8me.mp3\" alias A wait",
                                       L"seek A to start wait", L"set A time format milliseconds",
                                       L"status A length"}));
  EXPECT_TRUE(music.IsOpen());
  EXPECT_EQ(music.LoopIntervalMs(), 183456u);
  EXPECT_FALSE(TakeTimer());  // armed only when the music starts
  EXPECT_TRUE(shown_.empty());

  music.Start();
  EXPECT_EQ(device_.commands.back(), L"play A");
  EXPECT_TRUE(TakeTimer());
}

TEST_F(Win32Music, AFileTheDeviceCannotOpenShowsItsOwnErrorTextOverTheWindow) {
  device_.openError = MCIERR_CANNOT_LOAD_DRIVER;
  auto music = Make();
  EXPECT_FALSE(music.Load("C:\\Jeu\\theme.mp3"));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].first, owner_);
  EXPECT_EQ(shown_[0].second, MciErrorText(MCIERR_CANNOT_LOAD_DRIVER));
  EXPECT_FALSE(shown_[0].second.empty());
  EXPECT_FALSE(music.IsOpen());
  // Nothing else reaches the device: no play, no timer, no close of a device never opened.
  music.Start();
  music.OnLoopTimer();
  music.Stop();
  EXPECT_EQ(device_.commands.size(), 1u);
  EXPECT_FALSE(TakeTimer());
}

TEST_F(Win32Music, ATrackWithoutAUsableLengthPlaysOnceWithNoTimer) {
  const struct {
    const wchar_t* reply;
    MCIERROR error;
  } lengths[] = {{L"0", 0}, {L"", 0}, {L"unknown", 0}, {L"183456", MCIERR_UNSUPPORTED_FUNCTION}};
  for (const auto& length : lengths) {
    SCOPED_TRACE(testing::Message() << "reply '" << length.reply << "', error " << length.error);
    device_.lengthReply = length.reply;
    device_.statusError = length.error;
    auto music = Make();
    ASSERT_TRUE(music.Load("theme.mp3"));
    EXPECT_EQ(music.LoopIntervalMs(), 0u);
    music.Start();
    EXPECT_EQ(device_.commands.back(), L"play A");
    EXPECT_FALSE(TakeTimer());
  }
}

TEST_F(Win32Music, ALengthBeyondTheLongestTimerIsBounded) {
  device_.lengthReply = L"99999999999";
  auto music = Make();
  ASSERT_TRUE(music.Load("theme.mp3"));
  EXPECT_EQ(music.LoopIntervalMs(), static_cast<UINT>(USER_TIMER_MAXIMUM));
}

TEST_F(Win32Music, MusicSwitchedOffNeverPlays) {
  auto music = Make(false);
  ASSERT_TRUE(music.Load("theme.mp3"));
  music.Start();
  EXPECT_EQ(Count(L"play"), 0);
  EXPECT_FALSE(TakeTimer());
}

TEST_F(Win32Music, StoppingKillsTheTimerBeforeClosingAndOnlyOnce) {
  {
    auto music = Make();
    ASSERT_TRUE(music.Load("theme.mp3"));
    music.Start();
    music.Stop();
    EXPECT_EQ(Count(L"close"), 1);
    EXPECT_FALSE(device_.timerArmedAtClose);
    EXPECT_FALSE(music.IsOpen());
    // A timer message queued before the stop, another stop, a start: nothing reaches the device.
    music.OnLoopTimer();
    music.Stop();
    music.Start();
    EXPECT_EQ(Count(L"play"), 1);
    EXPECT_EQ(Count(L"seek"), 1);
    EXPECT_FALSE(TakeTimer());
  }
  EXPECT_EQ(Count(L"close"), 1);  // the stopped music does not close again when destroyed
}

TEST_F(Win32Music, DestroyingOpenMusicClosesItsDevice) {
  {
    auto music = Make();
    ASSERT_TRUE(music.Load("theme.mp3"));
    music.Start();
  }
  EXPECT_EQ(Count(L"close"), 1);
  EXPECT_FALSE(device_.timerArmedAtClose);
}

TEST_F(Win32Music, TheTrackRestartsFromItsBeginningEachTimeTheTimerFires) {
  device_.lengthReply = L"30";
  auto music = Make();
  ASSERT_TRUE(music.Load("theme.mp3"));
  music.Start();
  // The window's part: WM_TIMER with the music's id is handed to it.
  const DWORD deadline = ::GetTickCount() + 5000;
  MSG message;
  while (Count(L"play") < 4 && ::GetTickCount() < deadline) {
    if (!::PeekMessageW(&message, owner_, 0, 0, PM_REMOVE)) {
      ::Sleep(5);
      continue;
    }
    if (message.message == WM_TIMER && message.wParam == BackgroundMusic::kLoopTimerId) {
      music.OnLoopTimer();
    }
  }
  ASSERT_GE(Count(L"play"), 4);
  // After open, seek, set, status and the first play: a rewind, then a play, per loop.
  for (std::size_t i = 5; i < device_.commands.size(); ++i) {
    EXPECT_EQ(device_.commands[i], i % 2 == 1 ? L"seek A to start wait" : L"play A") << i;
  }
  EXPECT_TRUE(TakeTimer());  // re-armed after each restart
}

}  // namespace
