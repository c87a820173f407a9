// Keeps two launchers of one game folder from patching it at the same time: an exclusive
// lock on a file of the folder, held from recovery to the end of the run.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "engine/PatchWindow.h"
#include "platform/NativeFile.h"

namespace morvo {

inline constexpr char kRunLockFileName[] = "MorvoPatcher.lock";
// Shown while another launcher holds the lock, in the configured Language (Windows-1252).
inline constexpr char kWaitingForOtherRunFrench[] =
    "Mise \xE0 jour en cours dans un autre programme, attente ...";
inline constexpr char kWaitingForOtherRunEnglish[] =
    "Update in progress in another program, waiting ...";

class RunLock {
 public:
  RunLock(std::string path, PatchWindow& window, std::chrono::milliseconds pollInterval);
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  // Returns once the lock is held, keeping the window alive meanwhile. A folder where the lock
  // file cannot be made (read-only) is run without a lock: nothing could be patched there.
  // The waiting text is shown in language, read when the settings are known.
  void Acquire(std::int32_t language);
  void Release();
  bool Held() const { return file_.IsOpen(); }

 private:
  std::string path_;
  PatchWindow& window_;
  std::chrono::milliseconds pollInterval_;
  NativeFile file_;
};

}  // namespace morvo
