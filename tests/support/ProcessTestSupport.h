// Starting the test programs as separate processes, as a player's system starts them.
#pragma once

#include <string>
#include <vector>

namespace morvo {

// name as this platform names a program file: name + ".exe" on Windows.
std::string ProgramFileName(const std::string& name);

// Runs program with parameters (each one word, blanks and quotes included), waits for it and
// returns its exit status; -1 when it could not be started or did not exit by itself.
int RunProgramAndWait(const std::string& program, const std::vector<std::string>& parameters);

// Sets (or with an empty value, removes) an environment variable that started programs inherit.
void SetInheritedVariable(const std::string& name, const std::string& value);

}  // namespace morvo
