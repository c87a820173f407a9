#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "platform/Shell.h"
#include "platform/UniqueFd.h"

namespace morvo {

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// The first executable named name in PATH, or empty.
std::string FindInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const auto colon = rest.find(':');
    const std::string_view dir = rest.substr(0, colon);
    std::string candidate(dir.empty() ? std::string_view(".") : dir);
    candidate.append("/").append(name);
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

bool IsWindowsProgram(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[2] = {};
  return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

bool IsAddress(const std::string& program) { return program.find("://") != std::string::npos; }

// The argument vector that runs program with its parameters on this platform; empty when there
// is nothing that can run it.
std::vector<std::string> CommandFor(const std::string& program, std::string_view parameters) {
  std::vector<std::string> command;
  if (!IsAddress(program) && IsWindowsProgram(program)) {
    const std::string wine = FindInPath("wine");
    if (!wine.empty()) command = {wine, program};
  } else if (!IsAddress(program) && IsExecutableFile(program)) {
    command = {program};
  } else if (IsAddress(program) || ::access(program.c_str(), F_OK) == 0) {
    // Addresses and documents open through the desktop, as the player's shell would; the
    // opener takes no parameters of its own. A missing file is a failure, not the opener's.
    const std::string opener = FindInPath("xdg-open");
    if (!opener.empty()) return {opener, program};
  }
  if (command.empty()) return command;
  for (auto& parameter : SplitCommandLine(parameters)) command.push_back(std::move(parameter));
  return command;
}

// Runs in the grandchild after fork: only async-signal-safe calls until exec.
[[noreturn]] void ExecDetached(char* const argv[], const char* workingDir, int reportFd) {
  int error = 0;
  if (workingDir != nullptr && ::chdir(workingDir) != 0) {
    error = errno;
  } else {
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      ::dup2(devNull, 0);
      ::dup2(devNull, 1);
      ::dup2(devNull, 2);
      if (devNull > 2) ::close(devNull);
    }
    ::execv(argv[0], argv);
    error = errno;
  }
  [[maybe_unused]] auto ignored = ::write(reportFd, &error, sizeof error);
  ::_exit(127);
}

}  // namespace

bool SystemShell::Start(const std::string& program, std::string_view parameters,
                        const std::string& workingDir) {
  if (program.empty()) return false;
  std::vector<std::string> command = CommandFor(program, parameters);
  if (command.empty()) return false;
  std::vector<char*> argv;
  for (auto& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);
  const char* dir = workingDir.empty() ? nullptr : workingDir.c_str();

  // The exec failure of the grandchild comes back through a pipe closed by a successful exec.
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return false;
  UniqueFd reportRead(ends[0]);
  UniqueFd reportWrite(ends[1]);
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    // Own session, then a second fork: the started program is nobody's child here, so it
    // outlives us and never lingers as our zombie.
    reportRead.Reset();
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild == 0) ExecDetached(argv.data(), dir, reportWrite.Get());
    if (grandchild < 0) {
      int error = errno;
      [[maybe_unused]] auto ignored = ::write(reportWrite.Get(), &error, sizeof error);
    }
    ::_exit(0);
  }
  // Our copy of the write end closes, so the read below ends when the grandchild's does.
  reportWrite.Reset();
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t n;
  do {
    n = ::read(reportRead.Get(), &error, sizeof error);
  } while (n < 0 && errno == EINTR);
  return n == 0;
}

}  // namespace morvo
