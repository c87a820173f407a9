// A progress line on stdout while long work runs, only when stdout is a terminal.
#pragma once

#include <cstdint>
#include <string>

#include "ToolConsole.h"

class TerminalProgress {
 public:
  TerminalProgress(std::string label, std::uint64_t total);
  ~TerminalProgress();
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void step();
  // For the library's progress procedure, which takes no arguments: steps the progress
  // that is running, if any.
  static void stepCurrent();

 private:
  void draw();

  std::string label_;
  std::uint64_t total_;
  std::uint64_t done_ = 0;
  std::int64_t lastDrawnMs_ = -1;
  bool shown_;
  InPlaceLine line_{stdout};
  TerminalProgress* previous_;
};
