#include "ConsoleWindow.h"

#include <cstdio>
#include <filesystem>

#include "Utf8Path.h"
#include "text/Windows1252.h"

using namespace morvo;

namespace {

constexpr std::string_view kUpdateStep = "UPDATE_1 ";
// A terminal is redrawn at most this often: a fast download reports thousands of times a second.
constexpr std::chrono::milliseconds kRedrawInterval{100};

// The download progress line ends with the speed; every other status text is a step.
bool IsDownloadProgress(const std::string& text) { return text.ends_with(" Ko/s)"); }

}  // namespace

ConsoleWindow::ConsoleWindow(std::FILE* out, bool terminal, std::string programPath, Shell& shell)
    : out_(out), terminal_(terminal), programPath_(std::move(programPath)), shell_(shell) {}

void ConsoleWindow::SetStatusText(const std::string& text) {
  if (IsDownloadProgress(text)) {
    openProgress_ = text;
    const auto now = std::chrono::steady_clock::now();
    if (terminal_ && now - lastRedraw_ >= kRedrawInterval) {
      lastRedraw_ = now;
      DrawProgress();
    }
    return;
  }
  // Merges and repacks set the same text once per archive entry: one line is enough.
  if (text == lastLine_ && openProgress_.empty()) return;
  Finish();
  PrintUtf8(Windows1252ToUtf8(text));
  lastLine_ = text;
}

void ConsoleWindow::DrawProgress() { progressLine_.Draw(Windows1252ToUtf8(openProgress_)); }

void ConsoleWindow::PrintUtf8(const std::string& line) {
  WriteText(out_, line + "\n");
  std::fflush(out_);
}

void ConsoleWindow::Finish() {
  if (openProgress_.empty()) return;
  // The last state of each download stays: redrawn in place on a terminal, written once
  // elsewhere.
  if (terminal_) {
    DrawProgress();
    progressLine_.Keep();
  } else {
    PrintUtf8(Windows1252ToUtf8(openProgress_));
  }
  openProgress_.clear();
  lastLine_.clear();
}

bool ConsoleWindow::StartProgram(const std::string& program, std::string_view parameters,
                                 const std::string& workingDir) {
  if (parameters.starts_with(kUpdateStep) &&
      parameters.substr(kUpdateStep.size()) == programPath_) {
    std::error_code error;
    std::filesystem::rename(PathOfUtf8(program), PathOfUtf8(programPath_), error);
    const bool placed = !error;
    Finish();
    PrintUtf8(placed ? "New launcher program installed: " + programPath_
                     : "New launcher program could not replace " + programPath_);
    return placed;
  }
  if (program == programPath_ && parameters.empty()) {
    restartRequested_ = true;
    return true;
  }
  if (!shell_.Start(program, parameters, workingDir)) return false;
  Finish();
  PrintUtf8("Game started: " + program);
  return true;
}
