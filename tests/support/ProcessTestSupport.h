// Starting the test programs as separate processes, as a player's system starts them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvo {

// name as this platform names a program file: name + ".exe" on Windows.
std::string ProgramFileName(const std::string& name);

// Runs program with parameters (each one word, blanks and quotes included), waits for it and
// returns its exit status; -1 when it could not be started or did not exit by itself.
int RunProgramAndWait(const std::string& program, const std::vector<std::string>& parameters);

// A program started and left running until the owner ends it (at the latest when it goes away).
class StartedProgram {
 public:
  explicit StartedProgram(const std::string& program);
  ~StartedProgram() { End(); }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  bool Running() const { return process_ != kNone; }
  // Kills the program and waits until it has ended.
  void End();

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t process_ = kNone;  // the process id on POSIX, its handle on Windows
};

// Sets (or with an empty value, removes) an environment variable that started programs inherit.
void SetInheritedVariable(const std::string& name, const std::string& value);

// True when the Windows calls are Wine's, not Windows' own: where Wine is known to check less
// (CNG takes an elliptic-curve public key that is no point of the curve), a test says so.
bool RunsUnderWine();

}  // namespace morvo
