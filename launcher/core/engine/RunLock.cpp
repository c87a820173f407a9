#include "engine/RunLock.h"

#include "engine/LiveWait.h"
#include "text/FixedText.h"

namespace morvo {

RunLock::RunLock(std::string path, PatchWindow& window, std::chrono::milliseconds pollInterval)
    : path_(std::move(path)), window_(window), pollInterval_(pollInterval) {}

RunLock::~RunLock() { Release(); }

void RunLock::Acquire(std::int32_t language) {
  if (file_.IsOpen()) return;
  // The file is never inherited: a program started during the run (restart, self-update) must
  // not keep the lock after this process ends.
  NativeFile file = NativeFile::OpenOrCreate(path_);
  if (!file.IsOpen()) return;
  LockResult result = LockResult::Failed;
  WaitWithLiveWindow(window_,
                     FixedText(language, kWaitingForOtherRunFrench, kWaitingForOtherRunEnglish),
                     pollInterval_, [&] {
                       result = file.TryLock();
                       return result == LockResult::HeldElsewhere;
                     });
  if (result != LockResult::Locked) return;
  file_ = std::move(file);
}

void RunLock::Release() {
  // Closing the file drops the lock; the file stays, so that no second launcher locks a file
  // that a third one has just deleted.
  file_.Close();
}

}  // namespace morvo
