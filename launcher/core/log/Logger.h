// The run's plain-text log: Windows-1252 lines ended by CR LF, one write call per line,
// no buffering, so every line written survives a kill.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/NativeFile.h"
#include "text/MessageFormat.h"

namespace morvo {

inline constexpr char kLogFileName[] = "MorvoPatcherLog.txt";

class Logger {
 public:
  // LogPath becomes programDir + "MorvoPatcherLog.txt"; the log starts closed.
  explicit Logger(std::string programDir);
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  // Deletes an existing log and creates it anew, exclusively. Once LogClose has run, the log is
  // never opened again in this run.
  void LogOpen();
  void LogClose();
  // Every writing call does nothing while the log is closed.
  void LogLine(std::string_view text);
  void LogFormat(std::string_view format, std::initializer_list<FormatArg> args);
  void LogBlankLine();

  bool LogIsOpen() const { return file_.IsOpen(); }
  const std::string& LogPath() const { return path_; }

 private:
  void WriteLine(std::string_view text);

  std::string path_;
  NativeFile file_;
  bool closedForGood_ = false;
};

// Opens the log and writes its three header lines; what a run with logging on does first.
void LogOpenWithHeader(Logger& log);

}  // namespace morvo
