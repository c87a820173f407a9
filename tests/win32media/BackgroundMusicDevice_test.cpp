// The music on the platform's own media device (MCI). Whether it can decode MP3 depends on the
// machine (under Wine it needs a working media back end); what must hold either way is tested.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BackgroundMusic.h"

namespace {

class Win32MusicDevice : public ::testing::Test {
 protected:
  Win32MusicDevice() {
    owner_ = ::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr);
    folder_ = std::filesystem::temp_directory_path() / "morvo music test";
    std::filesystem::create_directories(folder_);
  }
  ~Win32MusicDevice() override {
    ::DestroyWindow(owner_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  BackgroundMusic Make() {
    return BackgroundMusic(owner_, true, SendMciCommand,
                           [this](HWND, const std::wstring& text) { shown_.push_back(text); });
  }

  std::string Write(const std::string& name, const std::vector<char>& bytes) {
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  HWND owner_ = nullptr;
  std::filesystem::path folder_;
  std::vector<std::wstring> shown_;
};

TEST_F(Win32MusicDevice, AFileThatIsNoMusicGivesTheDevicesErrorText) {
  std::vector<char> noise(3000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7);
  auto music = Make();
  EXPECT_FALSE(music.Load(Write("noise.mp3", noise)));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_FALSE(shown_[0].empty());
  EXPECT_FALSE(music.IsOpen());
  music.Stop();  // closing nothing is harmless
}

TEST_F(Win32MusicDevice, AGeneratedMp3OpensWithItsLengthOrReportsWhy) {
  std::ifstream file(MEDIA_TESTDATA "/BackgroundMusic/tone_1s.mp3", std::ios::binary);
  const std::vector<char> mp3((std::istreambuf_iterator<char>(file)), {});
  ASSERT_FALSE(mp3.empty());
  auto music = Make();
  if (!music.Load(Write("tone 1s.mp3", mp3))) {
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_FALSE(shown_[0].empty());
    EXPECT_FALSE(music.IsOpen());
    GTEST_SKIP() << "this machine's media device cannot open MP3 files";
  }
  EXPECT_TRUE(shown_.empty());
  EXPECT_NEAR(static_cast<double>(music.LoopIntervalMs()), 1000, 100);
  music.Start();
  EXPECT_TRUE(::KillTimer(owner_, BackgroundMusic::kLoopTimerId));
  music.Stop();
  EXPECT_FALSE(music.IsOpen());
}

}  // namespace
