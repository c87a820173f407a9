// Installation of downloaded patch containers into the game folder.
#pragma once

#include "engine/PatchContext.h"

namespace morvo {

// Installs every container of State.InstallFiles in order, then repacks every archive that
// received a merge. Does not empty InstallFiles or MergedArchives. Sets State.ConfigReplaced
// when a new configuration was installed and never clears it: whichever pass of the run
// installed one, the run ends with a restart. Returns how many containers that were there
// could not be installed completely (a missing one is a failed download, counted by the run).
int InstallPatches(PatchContext& context);

// Finishes a repack pass that an earlier run did not complete (it was killed or quit in the
// middle); does nothing when none is pending. Called at start-up before unfinished containers
// are installed.
void ResumeInterruptedRepacks(PatchContext& context);

}  // namespace morvo
