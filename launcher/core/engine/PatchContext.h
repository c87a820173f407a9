// Everything one patch run works with, passed by reference to the engine's operations.
#pragma once

#include <string>

#include "config/PatcherSettings.h"
#include "engine/PatchRunState.h"
#include "engine/PatchWindow.h"
#include "log/Logger.h"

namespace morvo {

struct PatchContext {
  const PatcherSettings& Settings;
  Logger& Log;
  PatchWindow& Window;
  PatchRunState& State;
  std::string ProgramDir;   // ends in '/'
  std::string ProgramPath;  // full path of the running program
};

}  // namespace morvo
