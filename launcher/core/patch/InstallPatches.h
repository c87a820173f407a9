// Installation of downloaded patch containers into the game folder.
#pragma once

#include "patch/PatchContext.h"

// Installs every container of State.InstallFiles in order, then repacks every archive that
// received a merge. Does not empty InstallFiles or MergedArchives.
void InstallPatches(PatchContext& context);

// Finishes a repack pass that an earlier run did not complete (it was killed or quit in the
// middle); does nothing when none is pending. Called at start-up before unfinished containers
// are installed.
void ResumeInterruptedRepacks(PatchContext& context);
