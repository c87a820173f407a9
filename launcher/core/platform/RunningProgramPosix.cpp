#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>

#include "platform/RunningProgram.h"

namespace morvo {

bool IsProgramRunning(const std::string& path) {
  struct stat file {};
  if (::stat(path.c_str(), &file) != 0) return false;
  const std::string self = std::to_string(::getpid());
  std::error_code error;
  for (std::filesystem::directory_iterator it("/proc", error), end; !error && it != end;
       it.increment(error)) {
    const std::string pid = it->path().filename().string();
    if (pid.empty() || !std::isdigit(static_cast<unsigned char>(pid[0])) || pid == self) continue;
    // stat through /proc/<pid>/exe reaches the running file even after a rename.
    struct stat running {};
    const std::string exe = "/proc/" + pid + "/exe";
    if (::stat(exe.c_str(), &running) != 0) continue;
    if (running.st_dev == file.st_dev && running.st_ino == file.st_ino) return true;
  }
  return false;
}

}  // namespace morvo
