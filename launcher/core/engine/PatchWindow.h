// What the patch engine needs of the main window. The Qt window implements it; tests and the
// headless patchrun tool give their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvo {

class PatchWindow {
 public:
  virtual ~PatchWindow() = default;

  // The status line; text is Windows-1252 bytes.
  virtual void SetStatusText(const std::string& text) = 0;
  // The gauge: a maximum of 0 or more, a position clamped into 0 .. maximum.
  virtual std::int64_t GaugeMaxValue() const = 0;
  virtual void SetGaugeMaxValue(std::int64_t maximum) = 0;
  virtual void SetGaugeProgress(std::int64_t position) = 0;
  // Makes the Start click area visible: the run has ended and play is allowed.
  virtual void ShowStart() = 0;
  // Lets the window paint and handle its pending events in the middle of the work.
  virtual void ProcessPendingEvents() = 0;
  // Closes the main window; the program ends once control is back in its event loop.
  virtual void CloseMainWindow() = 0;
  // Starts a program owned by the window (parameters split like a Windows command line).
  // True when it was started.
  virtual bool StartProgram(const std::string& program, std::string_view parameters,
                            const std::string& workingDir) = 0;
};

}  // namespace morvo
