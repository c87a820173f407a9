// The launcher without a window, for the headless tool and tests: the launcher's sequence
// driven as the window drives it, with the news page fetched by the downloader (its end,
// failed or not, counts as the page's first completed load) and the music file only looked for.
#pragma once

#include <memory>
#include <string>

#include "config/PatcherSettings.h"
#include "engine/LauncherSequence.h"
#include "engine/PatchRunState.h"
#include "engine/PatchWindow.h"
#include "engine/TemporaryNames.h"
#include "log/Logger.h"

namespace morvo {

struct WindowlessRunResult : PatchRunOutcome {
  bool ConfigRead = false;
};

class WindowlessLauncher final : private LauncherWindow {
 public:
  // window receives what the patch engine shows and the programs it starts.
  WindowlessLauncher(const std::string& programDir, const std::string& programPath,
                     PatchWindow& window, PatchRunServices services = {});
  ~WindowlessLauncher() override;

  // Creation, first activation, the news page, the patch run to its end.
  WindowlessRunResult Run();
  // What a click on Start does (after Run): the game started through the window's
  // StartProgram, or ErrorText set.
  void ClickStart() { sequence_.OnStartClicked(); }
  // The text of the last error box the launcher would have shown (Windows-1252); empty if none.
  const std::string& ErrorText() const { return errorText_; }

 private:
  // PatchWindow: forwarded to the given window.
  void SetStatusText(const std::string& text) override { window_.SetStatusText(text); }
  std::int64_t GaugeMaxValue() const override { return window_.GaugeMaxValue(); }
  void SetGaugeMaxValue(std::int64_t maximum) override { window_.SetGaugeMaxValue(maximum); }
  void SetGaugeProgress(std::int64_t position) override { window_.SetGaugeProgress(position); }
  void ShowStart() override { window_.ShowStart(); }
  void ProcessPendingEvents() override { window_.ProcessPendingEvents(); }
  void CloseMainWindow() override { window_.CloseMainWindow(); }
  bool StartProgram(const std::string& program, std::string_view parameters,
                    const std::string& workingDir) override {
    return window_.StartProgram(program, parameters, workingDir);
  }
  // LauncherWindow: nothing to draw or play.
  bool BuildInterface() override { return true; }
  void ShowErrorBox(const std::string& text) override { errorText_ = text; }
  bool OpenMusic(const std::string&) override { return true; }
  void StartMusic() override {}
  void StopMusic() override {}
  void PlayClickSound(bool) override {}
  void RequestNewsPage() override { newsRequested_ = true; }
  void RunAfterCurrentEvent(std::function<void()> step) override { step(); }
  void EndProcess() override {}

  void FetchNewsPage();

  PatchWindow& window_;
  std::string programDir_;
  std::unique_ptr<Downloader> ownDownloader_;
  Downloader* downloader_;
  PatcherSettings settings_;
  Logger log_;
  PatchRunState state_;
  LauncherSequence sequence_;
  std::string errorText_;
  bool newsRequested_ = false;
};

// Reads programDir + "Config.mpc" and runs the launcher's whole sequence without a window.
WindowlessRunResult RunWithoutWindow(const std::string& programDir, const std::string& programPath,
                                     PatchWindow& window, PatchRunServices services = {});

}  // namespace morvo
