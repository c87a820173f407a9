#include "log/Logger.h"

#include <utility>

#include "log/LogLines.h"
#include "platform/FileSystem.h"

namespace morvo {

namespace {

// True when another process holds the log at path locked; the log is then left to it.
bool HeldByAnotherProcess(const std::string& path) {
  NativeFile file = NativeFile::OpenToRead(path);
  return file.IsOpen() && file.TryLock() == LockResult::HeldElsewhere;
}

}  // namespace

Logger::Logger(std::string programDir) : path_(std::move(programDir) + kLogFileName) {}

void Logger::LogOpen() {
  if (file_.IsOpen() || closedForGood_) return;
  if (HeldByAnotherProcess(path_)) return;
  RemoveFile(path_);
  // Created exclusively: a file someone else created in between is not ours to write into.
  NativeFile file = NativeFile::CreateNew(path_);
  if (!file.IsOpen() || file.TryLock() != LockResult::Locked) return;
  file_ = std::move(file);
}

void Logger::LogClose() {
  file_.Close();
  closedForGood_ = true;
}

void Logger::LogLine(std::string_view text) { WriteLine(text); }

void Logger::LogFormat(std::string_view format, std::initializer_list<FormatArg> args) {
  if (!file_.IsOpen()) return;
  WriteLine(FormatMessage(format, args));
}

void Logger::LogBlankLine() { WriteLine({}); }

void Logger::WriteLine(std::string_view text) {
  if (!file_.IsOpen()) return;
  // The whole line, however long, goes out in one write so a kill never cuts it in two.
  std::string line;
  line.reserve(text.size() + 2);
  line.append(text);
  line.append("\r\n");
  file_.WriteAll(line.data(), line.size());
}

void LogOpenWithHeader(Logger& log) {
  log.LogOpen();
  log.LogLine(loglines::kHeaderTitle);
  log.LogLine(loglines::kHeaderRule);
  log.LogBlankLine();
}

}  // namespace morvo
