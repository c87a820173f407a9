// Whether a program file is being run by any process we can see.
#pragma once

#include <chrono>
#include <string>

namespace morvo {

// True when some process other than this one runs the file at path (same file, not same name).
bool IsProgramRunning(const std::string& path);

// Waits until no process runs path, at most limit. True when none does.
bool WaitUntilProgramEnds(const std::string& path, std::chrono::milliseconds limit);

}  // namespace morvo
