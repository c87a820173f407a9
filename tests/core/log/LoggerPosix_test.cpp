#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "log/Logger.h"

using namespace morvo;

// The descriptor does not leak into programs the launcher starts.
TEST(StartupLogger, DescriptorIsCloseOnExec) {
  TempDir dir;
  Logger log(dir.path());
  log.LogOpen();
  int flagsOfOpenLog = -1;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(entry.path(), error) == log.LogPath()) {
      flagsOfOpenLog = ::fcntl(std::stoi(entry.path().filename().string()), F_GETFD);
    }
  }
  ASSERT_GE(flagsOfOpenLog, 0);
  EXPECT_TRUE(flagsOfOpenLog & FD_CLOEXEC);
}
