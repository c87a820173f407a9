// The program's entry logic before any window exists: the handoff modes and the normal start.
#pragma once

#include <string>
#include <vector>

#include "entry/Handoff.h"
#include "platform/Shell.h"

namespace morvo {

// Runs the mode parameter 1 selects. parameters[0] is the program as started, programPath the
// running program's full path. True when the caller goes on with the normal start (no mode
// word, or after handoff step 2); false after handoff step 1, which ends the program (exit 0).
bool RunEntry(const std::vector<std::string>& parameters, const std::string& programPath,
              Shell& shell, const HandoffOptions& options = {});

}  // namespace morvo
