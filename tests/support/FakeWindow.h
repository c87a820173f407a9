// A PatchWindow that records every call, for tests of the patch engine without a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/PatchWindow.h"

namespace morvo {

class FakeWindow : public PatchWindow {
 public:
  struct StartedProgram {
    std::string program;
    std::string parameters;
    std::string workingDir;
  };

  void SetStatusText(const std::string& text) override {
    statusTexts.push_back(text);
    calls.push_back("status " + text);
  }
  std::int64_t GaugeMaxValue() const override { return maximum; }
  void SetGaugeMaxValue(std::int64_t value) override {
    maximum = value < 0 ? 0 : value;
    calls.push_back("max " + std::to_string(value));
  }
  void SetGaugeProgress(std::int64_t value) override {
    position = value < 0 ? 0 : (value > maximum ? maximum : value);
    calls.push_back("progress " + std::to_string(value));
  }
  void ShowStart() override {
    startShown = true;
    calls.push_back("show start");
  }
  void ProcessPendingEvents() override {
    ++eventPumps;
    if (onEvents) onEvents();
  }
  void CloseMainWindow() override {
    closed = true;
    calls.push_back("close");
  }
  bool StartProgram(const std::string& program, std::string_view parameters,
                    const std::string& workingDir) override {
    started.push_back({program, std::string(parameters), workingDir});
    calls.push_back("start program " + program);
    return startSucceeds;
  }

  // Calls in order, except event pumps, which are only counted.
  std::vector<std::string> calls;
  std::vector<std::string> statusTexts;
  std::vector<StartedProgram> started;
  std::int64_t maximum = 0;
  std::int64_t position = 0;
  int eventPumps = 0;
  bool startShown = false;
  bool closed = false;
  bool startSucceeds = true;
  // Runs at every event pump, as a window's handlers would (for instance a Quit).
  void (*onEvents)() = nullptr;
};

}  // namespace morvo
