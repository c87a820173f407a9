#include "engine/LiveWait.h"

#include <thread>

namespace morvo {

void WaitWithLiveWindow(PatchWindow& window, const std::string& text,
                        std::chrono::milliseconds pollInterval, const std::function<bool()>& busy) {
  bool told = false;
  while (busy()) {
    if (!told) {
      window.SetStatusText(text);
      told = true;
    }
    window.ProcessPendingEvents();
    std::this_thread::sleep_for(pollInterval);
  }
}

}  // namespace morvo
