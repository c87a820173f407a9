// A game program started by hand from the game folder holds its files: nothing is installed
// while it runs.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "engine/PatchContext.h"

namespace morvo {

// Shown while the game runs from the game folder, in the configured Language (Windows-1252).
inline constexpr char kWaitingForGameFrench[] =
    "Le jeu est en cours d'ex\xE9"
    "cution, fermez-le pour continuer la mise \xE0 jour ...";
inline constexpr char kWaitingForGameEnglish[] =
    "The game is running, close it to continue the update ...";

// Whether a program file is being run; the platform's answer unless a test gives its own.
using ProgramRunningCheck = std::function<bool(const std::string& path)>;

// Returns once the game program (GameExe in the program folder) no longer runs, keeping the
// window alive meanwhile. Returns at once when GameExe names no file of the program folder
// other than the launcher itself.
void WaitWhileGameRuns(PatchContext& context, const ProgramRunningCheck& isRunning,
                       std::chrono::milliseconds pollInterval);

}  // namespace morvo
