// The window of a run without one: status texts become lines on a stream, the download
// progress line is rewritten in place on a terminal, and the requests a window would act on
// are kept for the tool to report.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "ToolConsole.h"
#include "engine/PatchWindow.h"
#include "platform/Shell.h"

class ConsoleWindow final : public morvo::PatchWindow {
 public:
  // programPath: the launcher program that a patch's new copy replaces.
  ConsoleWindow(std::FILE* out, bool terminal, std::string programPath, morvo::Shell& shell);

  void SetStatusText(const std::string& text) override;
  std::int64_t GaugeMaxValue() const override { return maximum_; }
  void SetGaugeMaxValue(std::int64_t maximum) override { maximum_ = maximum; }
  void SetGaugeProgress(std::int64_t) override {}
  void ShowStart() override { startShown_ = true; }
  void ProcessPendingEvents() override {}
  void CloseMainWindow() override {}
  // A new copy of the launcher ("UPDATE_1 " + the launcher's path) is put in the launcher's
  // place with one rename; the launcher restarting itself is only noted; any other program
  // (the game) is started through shell.
  bool StartProgram(const std::string& program, std::string_view parameters,
                    const std::string& workingDir) override;

  // Ends a progress line still open.
  void Finish();
  bool StartShown() const { return startShown_; }
  bool RestartRequested() const { return restartRequested_; }

 private:
  void DrawProgress();
  void PrintUtf8(const std::string& line);

  std::FILE* out_;
  bool terminal_;
  InPlaceLine progressLine_{out_};
  std::string programPath_;
  morvo::Shell& shell_;
  std::string lastLine_;
  std::string openProgress_;
  std::chrono::steady_clock::time_point lastRedraw_;
  std::int64_t maximum_ = 0;
  bool startShown_ = false;
  bool restartRequested_ = false;
};
