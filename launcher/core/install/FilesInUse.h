// Files of the game folder that a running program holds: the archive library loaded by the
// launcher itself, or a program started from the folder. Windows lets such a file be renamed
// but neither replaced nor deleted, so it is renamed aside, in its own folder, and the new file
// put in its place; the next start deletes what was put aside. A record in the program folder
// names each file put aside and the file it stood for. It reaches the disk before the first
// rename, so that a start after a crash between the two renames puts the old file back instead
// of leaving its place empty.
#pragma once

#include <optional>
#include <string>

#include "engine/PatchContext.h"

namespace morvo {

// Puts the finished file temp in target's place: renamed over it, or, when target is in use,
// after target has been renamed aside (logged). False, with target as it was, when neither
// could be done.
bool PutInPlace(PatchContext& context, const std::string& temp, const std::string& target);

// Renames target (a file under programDir) aside, recorded, and temp to target. The path the
// old file now has; nullopt, with target as it was, when either rename failed.
std::optional<std::string> ReplaceMovingAside(const std::string& programDir,
                                              const std::string& temp, const std::string& target);

// At start, before anything is installed: deletes the files that earlier runs put aside, and
// renames back one whose replacement never arrived. A file still in use stays recorded for the
// start after.
void ClearFilesPutAside(const std::string& programDir);

}  // namespace morvo
