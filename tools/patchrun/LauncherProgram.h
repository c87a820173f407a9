// Which file of a game folder is the launcher program.
#pragma once

#include <string>

// The build gives the platform's program file name: "MorvoPatcher", "MorvoPatcher.exe".
inline constexpr char kLauncherFileName[] = MORVO_LAUNCHER_FILE_NAME;

// programDir + the name of the folder's launcher program: an existing entry named like
// "MorvoPatcher" in any ASCII case (the first in name order), else "MorvoPatcher".
std::string LauncherProgramPath(const std::string& programDir);
