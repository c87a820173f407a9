#include "ConsoleWindow.h"

#include <cstdio>

#include "text/Windows1252.h"

namespace {

constexpr std::string_view kUpdateStep = "UPDATE_1 ";

// The download progress line ends with the speed; every other status text is a step.
bool IsDownloadProgress(const std::string& text) { return text.ends_with(" Ko/s)"); }

}  // namespace

ConsoleWindow::ConsoleWindow(std::FILE* out, bool terminal, std::string programPath)
    : out_(out), terminal_(terminal), programPath_(std::move(programPath)) {}

void ConsoleWindow::SetStatusText(const std::string& text) {
  if (IsDownloadProgress(text)) {
    openProgress_ = text;
    if (terminal_) {
      std::fprintf(out_, "\r\x1b[K%s", Windows1252ToUtf8(text).c_str());
      std::fflush(out_);
    }
    return;
  }
  // Merges and repacks set the same text once per archive entry: one line is enough.
  if (text == lastLine_ && openProgress_.empty()) return;
  Finish();
  PrintUtf8(Windows1252ToUtf8(text));
  lastLine_ = text;
}

void ConsoleWindow::PrintUtf8(const std::string& line) {
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
}

void ConsoleWindow::Finish() {
  if (openProgress_.empty()) return;
  // On a terminal the line is already there; elsewhere the last state of each download is
  // written once.
  if (terminal_) {
    std::fputc('\n', out_);
  } else {
    std::fprintf(out_, "%s\n", Windows1252ToUtf8(openProgress_).c_str());
  }
  openProgress_.clear();
  lastLine_.clear();
  std::fflush(out_);
}

bool ConsoleWindow::StartProgram(const std::string& program, std::string_view parameters,
                                 const std::string&) {
  if (parameters.starts_with(kUpdateStep) && parameters.substr(kUpdateStep.size()) == programPath_) {
    const bool placed = std::rename(program.c_str(), programPath_.c_str()) == 0;
    Finish();
    PrintUtf8(placed ? "New launcher program installed: " + programPath_
                     : "New launcher program could not replace " + programPath_);
    return placed;
  }
  if (program == programPath_ && parameters.empty()) {
    restartRequested_ = true;
    return true;
  }
  return false;
}
