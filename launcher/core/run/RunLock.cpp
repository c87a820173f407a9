#include "run/RunLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "text/FixedText.h"

RunLock::RunLock(std::string path, PatchWindow& window, std::int32_t language,
                 std::chrono::milliseconds pollInterval)
    : path_(std::move(path)), window_(window), language_(language), pollInterval_(pollInterval) {}

RunLock::~RunLock() { Release(); }

void RunLock::Acquire() {
  if (fd_ >= 0) return;
  // Close-on-exec: a program started during the run (restart, self-update) must not inherit
  // the lock and keep it after this process ends.
  const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  bool told = false;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      ::close(fd);
      return;
    }
    if (!told) {
      window_.SetStatusText(
          FixedText(language_, kWaitingForOtherRunFrench, kWaitingForOtherRunEnglish));
      told = true;
    }
    window_.ProcessPendingEvents();
    std::this_thread::sleep_for(pollInterval_);
  }
  fd_ = fd;
}

void RunLock::Release() {
  if (fd_ < 0) return;
  // Closing the descriptor drops the lock; the file stays, so that no second launcher locks
  // a file that a third one has just unlinked.
  ::close(fd_);
  fd_ = -1;
}
