// Work done in a forked child that a test kills with SIGKILL at a chosen instant, to see what a
// crash at that point leaves on disk.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace morvo {

struct ChildRun {
  std::chrono::microseconds workTime{0};  // from the start of the work to the child's end
  bool killedWhileWorking = false;        // the kill ended the child before the work returned
};

// Runs work in a child process. The clock starts once the child has begun the work, so that a
// kill is never spent on the fork itself; with killAfter of zero or more, the child is killed
// that long after.
inline ChildRun RunInChild(const std::function<void()>& work,
                           std::chrono::microseconds killAfter = std::chrono::microseconds(-1)) {
  int ready[2];
  if (::pipe(ready) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ready[0]);
    const char go = 'g';
    if (::write(ready[1], &go, 1) != 1) ::_exit(1);
    work();
    ::_exit(0);
  }
  ::close(ready[1]);
  char go = 0;
  const bool started = child > 0 && ::read(ready[0], &go, 1) == 1;
  ::close(ready[0]);
  if (child < 0) return {};
  const auto start = std::chrono::steady_clock::now();
  if (started && killAfter.count() >= 0) {
    std::this_thread::sleep_for(killAfter);
    ::kill(child, SIGKILL);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ChildRun run;
  run.workTime = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  run.killedWhileWorking = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  return run;
}

}  // namespace morvo
