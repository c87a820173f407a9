#include "log/Logger.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "log/LogLines.h"

namespace morvo {

namespace {

// True when another process holds the log at path locked; the log is then left to it.
bool HeldByAnotherProcess(const std::string& path) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.IsOpen()) return false;
  return ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

}  // namespace

Logger::Logger(std::string programDir) : path_(std::move(programDir) + kLogFileName) {}

void Logger::LogOpen() {
  if (fd_.IsOpen() || closedForGood_) return;
  if (HeldByAnotherProcess(path_)) return;
  ::unlink(path_.c_str());
  // O_EXCL: a file someone else created in between is not ours to write into.
  UniqueFd fd(::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!fd.IsOpen() || ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) return;
  fd_ = std::move(fd);
}

void Logger::LogClose() {
  fd_.Reset();
  closedForGood_ = true;
}

void Logger::LogLine(std::string_view text) { WriteLine(text); }

void Logger::LogFormat(std::string_view format, std::initializer_list<FormatArg> args) {
  if (!fd_.IsOpen()) return;
  WriteLine(FormatMessage(format, args));
}

void Logger::LogBlankLine() { WriteLine({}); }

void Logger::WriteLine(std::string_view text) {
  if (!fd_.IsOpen()) return;
  // The whole line, however long, goes out in one write so a kill never cuts it in two.
  std::string line;
  line.reserve(text.size() + 2);
  line.append(text);
  line.append("\r\n");
  std::size_t written = 0;
  while (written < line.size()) {
    const ssize_t n = ::write(fd_.Get(), line.data() + written, line.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    written += static_cast<std::size_t>(n);
  }
}

void LogOpenWithHeader(Logger& log) {
  log.LogOpen();
  log.LogLine(loglines::kHeaderTitle);
  log.LogLine(loglines::kHeaderRule);
  log.LogBlankLine();
}

}  // namespace morvo
