// The launcher's skinned main window on Windows. It draws its SkinnedView, forwards its events
// to the launcher's sequence and implements what the sequence and the patch engine call.
#pragma once

#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "SkinnedView.h"
#include "TaskBarButton.h"
#include "config/PatcherSettings.h"
#include "engine/LauncherSequence.h"
#include "engine/LauncherWindow.h"
#include "engine/PatchRunState.h"
#include "log/Logger.h"
#include "platform/Shell.h"

class AboutWindow;
class BackgroundMusic;
class ClickSound;
class NewsBand;

// The program-wide objects the window works with; they outlive it.
struct LauncherContext {
  morvo::PatcherSettings& Settings;
  morvo::Logger& Log;
  morvo::PatchRunState& RunState;
  morvo::Shell& ProgramShell;
  std::string ProgramDir;   // ends in the path separator
  std::string ProgramPath;  // the running program
  // Quit ends the process at once with this (tests put a recorder in its place).
  std::function<void(int)> EndProcess;
  // How long the news page may take before the run starts without it.
  std::chrono::milliseconds NewsTimeout{20000};
};

class MainWindow : public morvo::LauncherWindow {
 public:
  // Creates the window hidden and runs the sequence's creation step.
  explicit MainWindow(LauncherContext context);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creation failed (no configuration, no skin): the program ends without its loop.
  bool TerminateRequested() const { return terminateRequested_; }
  // Centres the window on the primary screen, shows it and lets the sequence start.
  void Show();
  HWND Window() const { return window_; }
  const SkinnedView& View() const { return view_; }
  ClickSound& Sound() { return *clickSound_; }
  void SetAboutWindow(AboutWindow* about) { about_ = about; }
  bool WaitingForNews() const { return sequence_->WaitingForNews(); }

  // PatchWindow
  void SetStatusText(const std::string& text) override;
  std::int64_t GaugeMaxValue() const override;
  void SetGaugeMaxValue(std::int64_t maximum) override;
  void SetGaugeProgress(std::int64_t position) override;
  void ShowStart() override;
  void ProcessPendingEvents() override;
  void CloseMainWindow() override;
  bool StartProgram(const std::string& program, std::string_view parameters,
                    const std::string& workingDir) override;
  // LauncherWindow
  bool BuildInterface() override;
  void ShowErrorBox(const std::string& text) override;
  bool OpenMusic(const std::string& path) override;
  void StartMusic() override;
  void StopMusic() override;
  void PlayClickSound(bool wait) override;
  void RequestNewsPage() override;
  void RunAfterCurrentEvent(std::function<void()> step) override;
  void EndProcess() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void Repaint(const RECT& area);
  void OnMouseMove(POINT at);
  void OnMouseLeave();
  void OnButtonDown(POINT at, bool left);
  void OnLeftButtonUp(POINT at);
  bool OnSetCursor();
  void OnTimer(UINT_PTR id);
  void StartNewsTimeout();
  void RunQueuedStep();
  void Click(SkinButton button);
  void OnNewsProgress(int progress, int progressMax);
  void OnNewsCompleted();
  // The news page gave no completion in time, or cannot come: the run starts without it.
  void StartRunWithoutNews();

  LauncherContext context_;
  morvo::PatcherSettings& settings_;
  TaskBarButton taskBar_;  // owns the window, so it goes after it
  HWND window_ = nullptr;
  SkinnedView view_;
  HCURSOR arrow_ = nullptr;
  HCURSOR hand_ = nullptr;
  bool tracking_ = false;
  std::optional<SkinButton> pressed_;
  bool terminateRequested_ = false;
  AboutWindow* about_ = nullptr;
  std::deque<std::function<void()>> queuedSteps_;

  std::unique_ptr<ClickSound> clickSound_;
  std::unique_ptr<BackgroundMusic> music_;
  std::unique_ptr<NewsBand> news_;
  std::unique_ptr<morvo::LauncherSequence> sequence_;
};
