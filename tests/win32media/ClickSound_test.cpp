// The click sound from resources: this test program carries a short WAVE "Sound_Click", and
// click_sound_cut.dll one whose RIFF size promises more bytes than the resource holds.
#include "ClickSound.h"

#include <gtest/gtest.h>

namespace {

TEST(Win32ClickSound, TheProgramsOwnSoundIsFoundAndPlaysEitherWay) {
  ClickSound sound;
  sound.Load(true);
  ASSERT_TRUE(sound.Loaded());
  // Without a sound device the platform skips it; with one, wait returns once it has played.
  sound.Play(true);
  sound.Play(false);
  sound.Play(true);  // replaces the click still playing
}

TEST(Win32ClickSound, DisabledOrMissingOrBrokenSoundsStaySilent) {
  ClickSound sound;
  sound.Load(false);
  EXPECT_FALSE(sound.Loaded());
  sound.Play(true);

  sound.Load(true, ::GetModuleHandleW(L"kernel32.dll"));
  EXPECT_FALSE(sound.Loaded());

  HMODULE cut = ::LoadLibraryExW(L"click_sound_cut.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(cut, nullptr);
  sound.Load(true, cut);
  EXPECT_FALSE(sound.Loaded());
  sound.Play(true);
  ::FreeLibrary(cut);

  // Switched off after having been loaded: silent again.
  sound.Load(true);
  ASSERT_TRUE(sound.Loaded());
  sound.Load(false);
  EXPECT_FALSE(sound.Loaded());
}

}  // namespace
