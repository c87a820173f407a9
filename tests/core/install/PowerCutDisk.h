// The power-cut file system (tests/powercut) mounted on a fresh folder for one test: a disk whose
// write cache a test can throw away. Unmounted when the object goes.
#pragma once

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "TempDir.h"

namespace morvo {

class PowerCutDisk {
 public:
  PowerCutDisk() {
#ifndef MORVO_POWER_CUT_FS
    problem_ = "this build has no power-cut file system (FUSE 3's library was not found)";
#else
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
      problem_ = "/dev/fuse cannot be used here (FUSE needs it; tests run as root have it)";
      return;
    }
    root_ = MakeUniqueTempFolder("morvo-power-cut-");
    if (root_.empty()) {
      problem_ = "no temporary folder to mount on";
      return;
    }
    daemon_ = ::fork();
    if (daemon_ == 0) {
      ::execl(MORVO_POWER_CUT_FS, MORVO_POWER_CUT_FS, root_.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Mounted once its control file shows; a daemon that ends first could not mount.
    for (int wait = 0; wait < 500; ++wait) {
      struct stat info {};
      if (::stat((root_ + ".power").c_str(), &info) == 0) return;
      int status = 0;
      if (daemon_ < 0 || ::waitpid(daemon_, &status, WNOHANG) == daemon_) {
        daemon_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    problem_ = "the power-cut file system could not be mounted on " + root_;
#endif
  }

  ~PowerCutDisk() {
    if (daemon_ > 0) {
      ::kill(daemon_, SIGTERM);  // it unmounts on its way out
      ::waitpid(daemon_, nullptr, 0);
    }
    if (!root_.empty()) {
      ::umount2(root_.c_str(), MNT_DETACH);  // in case it could not
      ::rmdir(root_.c_str());
    }
  }

  PowerCutDisk(const PowerCutDisk&) = delete;
  PowerCutDisk& operator=(const PowerCutDisk&) = delete;

  // Why the disk cannot be used; empty when it is mounted.
  const std::string& Problem() const { return problem_; }
  // The mount point, ending in '/'.
  const std::string& Root() const { return root_; }

  // "sync", "count", "cut-at N", "cut", "restore" (see the file system's own description).
  void Command(const std::string& command) const {
    std::ofstream(root_ + ".power") << command << std::flush;
  }
  // The calls that changed or flushed something since "count".
  long Calls() const {
    std::ifstream status(root_ + ".power");
    std::string field;
    status >> field;
    return std::stol(field.substr(field.find('=') + 1));
  }

 private:
  std::string problem_;
  std::string root_;
  pid_t daemon_ = -1;
};

}  // namespace morvo
