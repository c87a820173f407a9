#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "ProcessTestSupport.h"

namespace morvo {

std::string ProgramFileName(const std::string& name) { return name; }

int RunProgramAndWait(const std::string& program, const std::vector<std::string>& parameters) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& p : parameters) argv.push_back(const_cast<char*>(p.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

StartedProgram::StartedProgram(const std::string& program) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (child > 0) process_ = child;
}

void StartedProgram::End() {
  if (!Running()) return;
  const auto child = static_cast<pid_t>(process_);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  process_ = kNone;
}

void SetInheritedVariable(const std::string& name, const std::string& value) {
  if (value.empty()) {
    ::unsetenv(name.c_str());
  } else {
    ::setenv(name.c_str(), value.c_str(), 1);
  }
}

bool RunsUnderWine() { return false; }

}  // namespace morvo
