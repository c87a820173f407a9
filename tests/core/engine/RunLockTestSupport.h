// What the run lock tests share: another launcher holding the lock, and a window whose event
// processing runs a hook.
#pragma once

#include <functional>
#include <string>

#include "FakeWindow.h"
#include "engine/RunLock.h"
#include "platform/NativeFile.h"

namespace morvo {

// What another launcher holds: the lock on the folder's lock file, through its own open file.
class OtherLauncher {
 public:
  explicit OtherLauncher(const std::string& folder)
      : file_(NativeFile::OpenOrCreate(folder + kRunLockFileName)) {}
  bool Lock() { return file_.TryLock() == LockResult::Locked; }
  void Stop() { file_.Close(); }

 private:
  NativeFile file_;
};

class HookedWindow : public FakeWindow {
 public:
  void ProcessPendingEvents() override {
    FakeWindow::ProcessPendingEvents();
    if (hook) hook();
  }
  std::function<void()> hook;
};

}  // namespace morvo
