// Running the real programs of the client from the tests: wait for them, or keep them running
// and kill them at a chosen instant.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

struct RunOptions {
  std::string workingDir;                     // empty: the test's own
  std::vector<std::string> extraEnvironment;  // "NAME=value" added to this process's
  std::string outputFile;                     // stdout and stderr go here; empty: /dev/null
  std::chrono::milliseconds timeout{std::chrono::seconds(120)};
};

// Options that only send the output to a file.
RunOptions OutputTo(const std::string& outputFile,
                    std::chrono::milliseconds timeout = std::chrono::seconds(120));

struct RunResult {
  int exitCode = -1;  // the exit status, or 128 + signal for a killed program
  bool timedOut = false;
  std::string output;  // what outputFile holds afterwards
};

// Starts argv (argv[0] a path) and waits for it; a program still running at the timeout is
// killed.
RunResult RunProgram(const std::vector<std::string>& argv, const RunOptions& options = {});

// A started program in a process group of its own, so that the helpers it starts are ended with
// it. The destructor kills and reaps what is left.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const RunOptions& options = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  bool Started() const { return pid_ > 0; }
  // True while the program has not ended (reaps it when it has).
  bool Running();
  // SIGKILL to the program's whole process group, then reaps it.
  void Kill();
  // Waits until the program ends; the exit code as in RunResult, -1 at the timeout.
  int Wait(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  bool reaped_ = false;
};

// Processes whose program file is path (as /proc/<pid>/exe names it), for the programs that
// the launcher starts detached by itself (restart, self-update handoff).
std::vector<pid_t> ProcessesRunning(const std::string& path);

// Processes started by the name path, as their command line's first word gives it; for a
// program Wine runs, also by its Windows name (WinePath), whose letter case does not matter.
std::vector<pid_t> ProcessesStartedAs(const std::string& path);

// The command line of a running process, one string per parameter; empty once it is gone.
std::vector<std::string> CommandLineOf(pid_t pid);

// The processes started by pid, their children and so on.
std::vector<pid_t> DescendantsOf(pid_t pid);

// SIGKILL to each process of the list, and waits (bounded) until they are gone.
void KillProcesses(const std::vector<pid_t>& pids);
