// The self-update handoff: a downloaded copy puts itself in place of the program that
// downloaded it (step 1), and the replaced program removes the copy (step 2).
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/Shell.h"

namespace morvo {

enum class HandoffStep {
  OldProgramGone,  // step 1: the old program has ended (or the wait ran out)
  TargetReplaced,  // step 1: the target holds the copy's bytes
  TargetStarted,   // step 1: the target was started with "UPDATE_2"
  CopyDeleting,    // step 2: about to delete the copy
};

const char* HandoffStepName(HandoffStep step);

struct HandoffOptions {
  // How long step 1 waits for the old program to end, and step 2 retries the deletion.
  std::chrono::milliseconds OldProgramWait{10000};
  std::chrono::milliseconds DeleteRetry{5000};
  // Called as each step is reached; tests use it to stop the chain at every point.
  std::function<void(HandoffStep)> onStep;
};

// Step 1, run by the copy at selfPath: once no process runs target any more, replaces target by
// the copy's bytes in one rename, keeping target's permission bits, and starts it with
// "UPDATE_2 " + selfPath. Nothing is reported; an empty target does nothing.
void RunHandoffStep1(const std::string& target, const std::string& selfPath, Shell& shell,
                     const HandoffOptions& options);

// Step 2, run by the replaced program at selfPath: deletes copyPath, retrying while the copy
// still runs. Only a "MorvoTMP" file in the program's own folder is deleted, so the command line
// cannot be used to remove anything else.
void RunHandoffStep2(const std::string& copyPath, const std::string& selfPath,
                     const HandoffOptions& options);

}  // namespace morvo
