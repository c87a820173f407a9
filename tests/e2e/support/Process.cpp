#include "Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "TestPaths.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// fork + exec in a new process group; only async-signal-safe calls after the fork.
pid_t Spawn(const std::vector<std::string>& argv, const RunOptions& options) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> environment;
  for (char** variable = environ; *variable; ++variable) environment.emplace_back(*variable);
  environment.insert(environment.end(), options.extraEnvironment.begin(),
                     options.extraEnvironment.end());
  std::vector<char*> envp;
  for (const std::string& variable : environment)
    envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);
  const std::string output = options.outputFile.empty() ? "/dev/null" : options.outputFile;

  pid_t pid = fork();
  if (pid != 0) return pid;
  setpgid(0, 0);
  int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int in = open("/dev/null", O_RDONLY);
  if (out < 0 || in < 0) _exit(126);
  dup2(in, 0);
  dup2(out, 1);
  dup2(out, 2);
  if (!options.workingDir.empty() && chdir(options.workingDir.c_str()) != 0) _exit(126);
  execve(args[0], args.data(), envp.data());
  _exit(127);
}

// A process that exists and is not a zombie waiting for a parent that may never reap it.
bool Alive(pid_t pid) {
  const std::string stat = ReadFileBytes("/proc/" + std::to_string(pid) + "/stat");
  const std::string::size_type end = stat.rfind(')');
  return end != std::string::npos && end + 2 < stat.size() && stat[end + 2] != 'Z';
}

}  // namespace

RunOptions OutputTo(const std::string& outputFile, std::chrono::milliseconds timeout) {
  RunOptions options;
  options.outputFile = outputFile;
  options.timeout = timeout;
  return options;
}

RunResult RunProgram(const std::vector<std::string>& argv, const RunOptions& options) {
  RunResult result;
  ChildProcess child(argv, options);
  result.exitCode = child.Wait(options.timeout);
  if (result.exitCode == -1) {
    result.timedOut = true;
    child.Kill();
  }
  if (!options.outputFile.empty()) result.output = ReadFileBytes(options.outputFile);
  return result;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const RunOptions& options)
    : pid_(Spawn(argv, options)) {}

ChildProcess::~ChildProcess() {
  if (Started() && !reaped_) Kill();
}

bool ChildProcess::Running() {
  if (!Started() || reaped_) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
  return !reaped_;
}

void ChildProcess::Kill() {
  if (!Started() || reaped_) return;
  kill(-pid_, SIGKILL);
  kill(pid_, SIGKILL);
  while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
  }
  reaped_ = true;
}

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (Running()) {
    if (Clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return reaped_ ? ExitCodeOf(status_) : -1;
}

std::vector<pid_t> ProcessesRunning(const std::string& path) {
  std::vector<pid_t> found;
  std::error_code error;
  const fs::path wanted = fs::weakly_canonical(path, error);
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code linkError;
    fs::path exe = fs::read_symlink(entry.path() / "exe", linkError);
    if (linkError) continue;
    std::string target = exe.string();
    const std::string deleted = " (deleted)";  // a program file replaced while it runs
    if (target.size() > deleted.size() &&
        target.compare(target.size() - deleted.size(), deleted.size(), deleted) == 0)
      target.resize(target.size() - deleted.size());
    if (target == wanted.string()) found.push_back(static_cast<pid_t>(std::stol(name)));
  }
  return found;
}

std::vector<pid_t> ProcessesStartedAs(const std::string& path) {
  auto lower = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  const std::string windowsName = lower(WinePath(path));
  std::vector<pid_t> found;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(name));
    const std::vector<std::string> line = CommandLineOf(pid);
    if (!line.empty() && (line[0] == path || lower(line[0]) == windowsName) && Alive(pid))
      found.push_back(pid);
  }
  return found;
}

std::vector<std::string> CommandLineOf(pid_t pid) {
  std::vector<std::string> parameters;
  std::string raw = ReadFileBytes("/proc/" + std::to_string(pid) + "/cmdline");
  std::string::size_type start = 0;
  while (start < raw.size()) {
    std::string::size_type end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    parameters.push_back(raw.substr(start, end - start));
    start = end + 1;
  }
  return parameters;
}

std::vector<pid_t> DescendantsOf(pid_t pid) {
  std::map<pid_t, std::vector<pid_t>> children;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = ReadFileBytes(entry.path().string() + "/stat");
    const std::string::size_type end = stat.rfind(')');
    if (end == std::string::npos) continue;
    std::istringstream fields(stat.substr(end + 2));
    char state;
    pid_t parent;
    if (fields >> state >> parent) children[parent].push_back(std::stoi(name));
  }
  std::vector<pid_t> found;
  std::vector<pid_t> pending{pid};
  while (!pending.empty()) {
    pid_t next = pending.back();
    pending.pop_back();
    for (pid_t child : children[next]) {
      found.push_back(child);
      pending.push_back(child);
    }
  }
  return found;
}

void KillProcesses(const std::vector<pid_t>& pids) {
  for (pid_t pid : pids) kill(pid, SIGKILL);
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  for (pid_t pid : pids) {
    // Our own children are reaped here; detached ones belong to init.
    while (waitpid(pid, nullptr, WNOHANG) == 0 || Alive(pid)) {
      if (Clock::now() >= deadline) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
}
