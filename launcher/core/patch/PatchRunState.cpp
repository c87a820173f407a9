#include "patch/PatchRunState.h"

PatchRunState::PatchRunState(const std::string& programDir)
    : RegisterPath(programDir + kRegisterFileName),
      ServerListPath(programDir + kServerListFileName),
      RepackTempPath(programDir + kRepackTempFileName) {}

std::string FileNameOfUrl(const std::string& url) {
  const auto slash = url.rfind('/');
  return slash == std::string::npos ? url : url.substr(slash + 1);
}
