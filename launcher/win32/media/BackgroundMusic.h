// Background music: the MP3 file beside the program, played through MCI in a loop from the
// first activation until Start or Quit. The loop is one timer of the owner window per track
// length, not a watch on the player's position.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "MciCommand.h"

class BackgroundMusic {
 public:
  // Shows the device's error text for a file it cannot open, in a box owned by owner.
  using ErrorBox = std::function<void(HWND owner, const std::wstring& text)>;

  // owner: the main window; it owns the loop timer (WM_TIMER with kLoopTimerId is forwarded to
  // OnLoopTimer) and the error box of a failing open.
  BackgroundMusic(HWND owner, bool musicEnabled);
  // Any command sender and any error box (tests use fakes).
  BackgroundMusic(HWND owner, bool musicEnabled, MciCommand mci, ErrorBox showError);
  ~BackgroundMusic();  // closes the device
  BackgroundMusic(const BackgroundMusic&) = delete;
  BackgroundMusic& operator=(const BackgroundMusic&) = delete;

  static constexpr UINT_PTR kLoopTimerId = 0x4D42;

  // Opens the MP3 at path (UTF-8, exists), waiting; rewinds it, waiting; sets the time format
  // to milliseconds and the loop interval to the track length. False when the device cannot
  // open it: its own error text has then been shown.
  bool Load(const std::string& path);
  // Plays from the current position without waiting and arms the loop timer, when the music is
  // on and the device open.
  void Start();
  // Kills the loop timer, then closes the device; harmless when it is closed.
  void Stop();
  // Restarts the track from its beginning.
  void OnLoopTimer();

  bool IsOpen() const { return open_; }
  // 0: the timer never fires and the track plays once.
  UINT LoopIntervalMs() const { return loopIntervalMs_; }

 private:
  MCIERROR Send(const std::wstring& verb, const std::wstring& arguments = {});

  HWND owner_;
  bool musicEnabled_;
  MciCommand mci_;
  ErrorBox showError_;
  std::wstring alias_;
  bool open_ = false;
  UINT loopIntervalMs_ = 0;
};
