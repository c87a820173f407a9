// startup_clock SECONDS PROGRAM [ARGS...]: starts PROGRAM (with MORVO_BENCH_FIRST_PAINT set) in
// a process group of its own, waits at most SECONDS for the "first-paint T" line its probe
// prints, and prints the seconds from just before the start to T. The group, the program and
// the helper processes it started, is ended either way.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double MonotonicSeconds() {
  const std::chrono::duration<double> now = std::chrono::steady_clock::now().time_since_epoch();
  return now.count();
}

// Reads the child's output until the probe's line; returns its time, or a negative number when
// the output ended or the deadline passed first.
double ReadFirstPaint(int fd, double deadline) {
  std::string output;
  char buffer[4096];
  for (;;) {
    const std::size_t lineStart = output.find("first-paint ");
    if (lineStart != std::string::npos && output.find('\n', lineStart) != std::string::npos) {
      return std::strtod(output.c_str() + lineStart + std::strlen("first-paint "), nullptr);
    }
    const double left = deadline - MonotonicSeconds();
    if (left <= 0) return -1;
    pollfd readable{fd, POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(left * 1000) + 1) < 0) return -1;
    if (readable.revents == 0) continue;
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) return -1;
    output.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_clock SECONDS PROGRAM [ARGS...]\n");
    return 2;
  }
  const double timeout = std::strtod(argv[1], nullptr);
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    std::perror("startup_clock: pipe");
    return 1;
  }
  setenv("MORVO_BENCH_FIRST_PAINT", "1", 1);
  const double start = MonotonicSeconds();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("startup_clock: fork");
    return 1;
  }
  if (child == 0) {
    setpgid(0, 0);
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execv(argv[2], argv + 2);
    std::perror("startup_clock: exec");
    _exit(127);
  }
  setpgid(child, child);  // also here, so that the kill below cannot come before the child's
  close(pipeFds[1]);
  const double firstPaint = ReadFirstPaint(pipeFds[0], start + timeout);
  kill(-child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(pipeFds[0]);
  if (firstPaint < 0) {
    std::fprintf(stderr, "startup_clock: no first paint of %s within %.0f s\n", argv[2], timeout);
    return 1;
  }
  std::printf("%.3f\n", firstPaint - start);
  return 0;
}
