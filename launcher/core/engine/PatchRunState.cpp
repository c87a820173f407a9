#include "engine/PatchRunState.h"

PatchRunState::PatchRunState(const std::string& programDir)
    : RegisterPath(programDir + kRegisterFileName),
      ServerListPath(programDir + kServerListFileName),
      RepackTempPath(programDir + kRepackTempFileName) {}
