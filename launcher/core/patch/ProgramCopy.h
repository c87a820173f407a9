// A new copy of the launcher itself, handed over to the self-update between processes.
#pragma once

#include <string>

#include "patch/PatchContext.h"

// Starts copy with "UPDATE_1 " + the running program's path, then closes the main window: the
// copy puts itself in the program's place and starts it again.
void StartProgramCopy(PatchContext& context, const std::string& copy);

// A self-update that an earlier run did not carry through (killed after the copy was written,
// or the copy killed before it replaced the program) would otherwise be lost for good: its
// patch is registered and its container deleted. A copy ("MorvoTMP_" + name, complete, runnable)
// that still lies in the program folder is started again; one identical to the running program
// is what a finished handoff left behind, and is deleted. True when a copy was started.
bool ResumeInterruptedSelfUpdate(PatchContext& context);
