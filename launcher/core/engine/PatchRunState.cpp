#include "engine/PatchRunState.h"

namespace morvo {

PatchRunState::PatchRunState(const std::string& programDir)
    : RegisterPath(programDir + kRegisterFileName),
      ServerListPath(programDir + kServerListFileName),
      RepackTempPath(programDir + kRepackTempFileName) {}

}  // namespace morvo
