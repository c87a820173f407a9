// The files the launcher keeps for itself in the program's folder: the register, the log, the
// run lock and the run's temporary files. No patch may write them, and no patch's container
// may take the name of one of them.
#pragma once

#include <string_view>

namespace morvo {

// True when a file of this name, directly in the program's folder, would be one of the
// launcher's own: the register, the log or the run lock (or the atomic writer's temporary file
// beside one of them), or any name beginning with "MorvoTMP". Letter case does not count: on
// Windows these are the same files.
bool IsOwnFileName(std::string_view name);

// True when name, in any folder of the game, is that of a file in use that a patch put aside
// for the next start to delete, in any letter case.
bool IsPutAsideName(std::string_view name);

// True when a container downloaded to "MorvoTMP" + name would take the place of another of the
// run's temporary files (the server list, the repack files, an extracted archive, a program
// copy, ...), in any letter case.
bool IsOtherTemporaryOfTheRun(std::string_view containerName);

}  // namespace morvo
