// Waiting for something outside the launcher (another launcher, the game) with a live window.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "engine/PatchWindow.h"

namespace morvo {

// Returns once busy() is false. While it is true, text is on the status line (set once) and
// the window handles its events (Quit among them) every pollInterval.
void WaitWithLiveWindow(PatchWindow& window, const std::string& text,
                        std::chrono::milliseconds pollInterval, const std::function<bool()>& busy);

}  // namespace morvo
