#include "engine/RunLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "text/FixedText.h"

namespace morvo {

RunLock::RunLock(std::string path, PatchWindow& window, std::chrono::milliseconds pollInterval)
    : path_(std::move(path)), window_(window), pollInterval_(pollInterval) {}

RunLock::~RunLock() { Release(); }

void RunLock::Acquire(std::int32_t language) {
  if (fd_.IsOpen()) return;
  // Close-on-exec: a program started during the run (restart, self-update) must not inherit
  // the lock and keep it after this process ends.
  UniqueFd file(::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (!file.IsOpen()) return;
  bool told = false;
  while (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return;
    if (!told) {
      window_.SetStatusText(
          FixedText(language, kWaitingForOtherRunFrench, kWaitingForOtherRunEnglish));
      told = true;
    }
    window_.ProcessPendingEvents();
    std::this_thread::sleep_for(pollInterval_);
  }
  fd_ = std::move(file);
}

void RunLock::Release() {
  // Closing the descriptor drops the lock; the file stays, so that no second launcher locks
  // a file that a third one has just unlinked.
  fd_.Reset();
}

}  // namespace morvo
