// The click of the skinned buttons: the WAVE resource "Sound_Click" of the program, played from
// memory.
#pragma once

#include <windows.h>

class ClickSound {
 public:
  // Locates the resource "Sound_Click" of type "WAVE" in module (the running program when null)
  // once; a disabled sound, or one missing or not a whole RIFF WAVE, makes every Play silent.
  void Load(bool enabled, HMODULE module = nullptr);
  // Plays the sound with no fall-back sound: with wait, returns once it has finished, else at
  // once while it plays on. A sound that cannot be played is skipped.
  void Play(bool wait);

  bool Loaded() const { return wave_ != nullptr; }

 private:
  const void* wave_ = nullptr;  // a loaded resource stays mapped for the module's life
};
