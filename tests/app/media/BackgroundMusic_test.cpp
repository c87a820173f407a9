#include "media/BackgroundMusic.h"

#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "MediaTestSupport.h"

using namespace morvo;

namespace {

// Records what the music asks of its player, and whether the loop timer was still running
// when the player was closed.
struct PlayerLog {
  std::vector<std::string> calls;
  QString openedPath;
  bool timerActiveAtClose = false;
};

class FakePlayer : public MusicPlayer {
 public:
  FakePlayer(PlayerLog& log, bool opens, std::int64_t lengthMs)
      : log_(log), opens_(opens), lengthMs_(lengthMs) {}

  bool Open(const QString& path, QString& errorText) override {
    log_.calls.push_back("open");
    log_.openedPath = path;
    if (!opens_) errorText = "The device cannot play this file.";
    return opens_;
  }
  void SeekToStart() override { log_.calls.push_back("seek"); }
  std::int64_t LengthMs() const override { return lengthMs_; }
  void Play() override { log_.calls.push_back("play"); }
  void Close() override {
    log_.calls.push_back("close");
    if (timer_ != nullptr) log_.timerActiveAtClose = timer_->isActive();
  }
  void Watch(const QTimer* timer) { timer_ = timer; }

 private:
  PlayerLog& log_;
  bool opens_;
  std::int64_t lengthMs_;
  const QTimer* timer_ = nullptr;
};

class MediaMusic : public ::testing::Test {
 protected:
  MediaMusic() {
    settings_.MusicEnabled = true;
    settings_.MusicFile = "theme.mp3";
  }

  // The music with a fake player, made when the music asks for it, over an existing file.
  std::unique_ptr<BackgroundMusic> Make(bool opens = true, std::int64_t lengthMs = 60000) {
    dir_.Write(settings_.MusicFile, {0xFF, 0xFB});
    auto music = std::make_unique<BackgroundMusic>(
        settings_,
        [this, opens, lengthMs] {
          ++playersMade_;
          auto player = std::make_unique<FakePlayer>(playerLog_, opens, lengthMs);
          player->Watch(loopTimer_);
          return player;
        },
        [this](const QString& text) { shownErrors_.push_back(text); });
    loopTimer_ = &music->Tmr_BGM();
    return music;
  }

  std::string Path() const { return dir_.Dir() + settings_.MusicFile; }
  int Count(const std::string& call) {
    return static_cast<int>(std::count(playerLog_.calls.begin(), playerLog_.calls.end(), call));
  }

  ProgramFolder dir_;
  PatcherSettings settings_;
  PlayerLog playerLog_;
  std::vector<QString> shownErrors_;
  int playersMade_ = 0;
  const QTimer* loopTimer_ = nullptr;
};

TEST_F(MediaMusic, OpensTheTrackAndSetsTheLoopToItsLength) {
  auto music = Make(true, 183456);
  EXPECT_TRUE(music->LoadMusic(Path()));
  EXPECT_EQ(playerLog_.calls, (std::vector<std::string>{"open", "seek"}));
  EXPECT_EQ(playerLog_.openedPath, QString::fromStdString(dir_.Dir() + "theme.mp3"));
  EXPECT_EQ(music->Tmr_BGM().interval(), 183456);
  EXPECT_FALSE(music->Tmr_BGM().isActive());  // armed only when the music starts

  music->StartMusic();
  EXPECT_EQ(Count("play"), 1);
  EXPECT_TRUE(music->Tmr_BGM().isActive());
}

TEST_F(MediaMusic, NothingOpenedMeansEverythingElseDoesNothingAndNoPlayerIsMade) {
  auto music = Make();
  music->StartMusic();
  music->Stop();
  EXPECT_TRUE(playerLog_.calls.empty());
  EXPECT_FALSE(music->Tmr_BGM().isActive());
  EXPECT_TRUE(shownErrors_.empty());
  // The sound system is set up only for music that is loaded, and only once.
  EXPECT_EQ(playersMade_, 0);
  ASSERT_TRUE(music->LoadMusic(Path()));
  music->Stop();
  ASSERT_TRUE(music->LoadMusic(Path()));
  EXPECT_EQ(playersMade_, 1);
}

TEST_F(MediaMusic, AFileThePlayerCannotOpenShowsItsErrorAndStaysSilent) {
  auto music = Make(false);
  EXPECT_FALSE(music->LoadMusic(Path()));
  ASSERT_EQ(shownErrors_.size(), 1u);
  EXPECT_EQ(shownErrors_[0], "The device cannot play this file.");
  music->StartMusic();
  EXPECT_EQ(Count("play"), 0);
  EXPECT_FALSE(music->Tmr_BGM().isActive());
}

TEST_F(MediaMusic, MusicSwitchedOffNeverPlays) {
  auto music = Make();
  ASSERT_TRUE(music->LoadMusic(Path()));
  settings_.MusicEnabled = false;
  music->StartMusic();
  EXPECT_EQ(Count("play"), 0);
}

TEST_F(MediaMusic, TheTrackRestartsFromItsBeginningEachTimeItsLengthHasElapsed) {
  auto music = Make(true, 40);
  music->LoadMusic(Path());
  music->StartMusic();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Count("play") >= 4; }, 5000));
  // Every restart rewinds first: open, seek, play, then (seek, play) per loop.
  for (std::size_t i = 2; i < playerLog_.calls.size(); ++i) {
    EXPECT_EQ(playerLog_.calls[i], i % 2 == 0 ? "play" : "seek") << "call " << i;
  }
  EXPECT_TRUE(music->Tmr_BGM().isActive());  // re-armed after each restart
}

TEST_F(MediaMusic, ATrackOfLengthZeroPlaysOnceAndTheTimerNeverFires) {
  auto music = Make(true, 0);
  music->LoadMusic(Path());
  music->StartMusic();
  EXPECT_FALSE(music->Tmr_BGM().isActive());
  QTest::qWait(100);
  EXPECT_EQ(Count("play"), 1);
  EXPECT_EQ(Count("seek"), 1);
}

TEST_F(MediaMusic, StoppingDisablesTheTimerBeforeClosingAndOnlyOnce) {
  auto music = Make(true, 40);
  music->LoadMusic(Path());
  music->StartMusic();
  music->Stop();
  EXPECT_EQ(Count("close"), 1);
  EXPECT_FALSE(playerLog_.timerActiveAtClose);
  EXPECT_FALSE(music->IsOpen());
  // Nothing restarts later, and stopping again or starting again does nothing.
  QTest::qWait(120);
  music->Stop();
  music->StartMusic();
  EXPECT_EQ(Count("play"), 1);
  EXPECT_EQ(Count("close"), 1);
}

// The real player on a generated one-second MP3. Whether audio comes out depends on the machine;
// opening and the track length must not.
class MediaMusicRealPlayer : public MediaMusic {
 protected:
  std::unique_ptr<BackgroundMusic> MakeReal(const std::vector<unsigned char>& file) {
    dir_.Write(settings_.MusicFile, file);
    return std::make_unique<BackgroundMusic>(
        settings_, &MakeQtMusicPlayer,
        [this](const QString& text) { shownErrors_.push_back(text); });
  }
};

TEST_F(MediaMusicRealPlayer, OpensAGeneratedMp3WithItsLength) {
  auto music = MakeReal(ReadFileBytes(MEDIA_TESTDATA "/BackgroundMusic/tone_1s.mp3"));
  EXPECT_TRUE(music->LoadMusic(Path()));
  ASSERT_TRUE(shownErrors_.empty()) << shownErrors_[0].toStdString();
  ASSERT_TRUE(music->IsOpen());
  EXPECT_NEAR(music->Tmr_BGM().interval(), 1000, 100);
  music->StartMusic();  // with or without a sound device, the launcher goes on
  EXPECT_TRUE(music->Tmr_BGM().isActive());
  music->Stop();
  EXPECT_FALSE(music->Tmr_BGM().isActive());
}

TEST_F(MediaMusicRealPlayer, AFileThatIsNoMusicGivesThePlayersError) {
  std::vector<unsigned char> notMusic(3000);
  for (std::size_t i = 0; i < notMusic.size(); ++i) notMusic[i] = static_cast<unsigned char>(i * 7);
  auto music = MakeReal(notMusic);
  EXPECT_FALSE(music->LoadMusic(Path()));
  ASSERT_EQ(shownErrors_.size(), 1u);
  EXPECT_FALSE(shownErrors_[0].isEmpty());
  EXPECT_FALSE(music->IsOpen());
}

}  // namespace
