// A new copy of the launcher itself, handed over to the self-update between processes.
#pragma once

#include <string>
#include <string_view>

#include "engine/PatchContext.h"

namespace morvo {

// True when path reaches the copy whole as the unquoted tail of the handoff command line, whose
// words are joined again with single blanks and trimmed: no two blanks in a row, no tab or
// other control character, no quote, no blank at either end.
bool SurvivesHandoff(std::string_view path);

// Starts copy with "UPDATE_1 " + the running program's path, then closes the main window: the
// copy puts itself in the program's place and starts it again. When the program's path would
// not survive the handoff, the copy is left for a later start (logged, State.SelfUpdateDeferred
// set); when the copy cannot be started the window stays open. True when the copy runs.
bool StartProgramCopy(PatchContext& context, const std::string& copy);

// A self-update that an earlier run did not carry through (killed after the copy was written,
// or the copy killed before it replaced the program) would otherwise be lost for good: its
// patch is registered and its container deleted. A copy ("MorvoTMP_" + name, complete, runnable)
// that still lies in the program folder is started again, once: a record names the copy tried,
// and a copy found again by the start after is deleted with a log line, so that a copy that
// cannot finish the handoff never keeps the launcher from starting. One identical to the
// running program is what a finished handoff left behind, and is deleted. True when a copy was
// started (the window is then closing).
bool ResumeInterruptedSelfUpdate(PatchContext& context);

}  // namespace morvo
