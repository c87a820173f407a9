// What the launcher's sequence needs of a window program beyond what the patch engine needs:
// building the interface, error boxes, music, the click sound, the news page, deferring a step
// and ending the process. The Qt window implements it; the windowless run and tests give
// their own.
#pragma once

#include <functional>
#include <string>

#include "engine/PatchWindow.h"

namespace morvo {

class LauncherWindow : public PatchWindow {
 public:
  // Builds the skin, the layout, the banner and the news page's place from the settings, and
  // prepares the click sound. False when there is nothing to show (the skin cannot be decoded).
  virtual bool BuildInterface() = 0;
  // One of the program's two error boxes (text in Windows-1252 bytes); returns once closed.
  virtual void ShowErrorBox(const std::string& text) = 0;
  // Opens the music file (a path of this platform, the file exists) and sets its loop. False
  // when the player cannot open it; the window has then shown the player's own error text.
  virtual bool OpenMusic(const std::string& path) = 0;
  virtual void StartMusic() = 0;
  virtual void StopMusic() = 0;
  // The buttons' click; with wait, returns once it has been heard.
  virtual void PlayClickSound(bool wait) = 0;
  // Starts loading the news page. Its first completed load is to reach
  // LauncherSequence::OnNewsPageLoaded.
  virtual void RequestNewsPage() = 0;
  // Runs step once the handler now running has returned to the event loop (at once in a
  // window without one).
  virtual void RunAfterCurrentEvent(std::function<void()> step) = 0;
  // Ends the process at once with status 0, whatever is under way.
  virtual void EndProcess() = 0;
};

}  // namespace morvo
