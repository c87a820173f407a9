// What the launcher's sequence and the patch engine reach of the main window: status line,
// gauge, Start, events, close, program start, error boxes, music, news page, process end.
#include "BackgroundMusic.h"
#include "ClickSound.h"
#include "ErrorBox.h"
#include "MainWindow.h"
#include "NewsBand.h"
#include "ResourceNames.h"
#include "SettingsColour.h"
#include "Win32Text.h"

using namespace morvo;

bool MainWindow::BuildInterface() {
  clickSound_->Load(settings_.ClickSoundEnabled);
  if (!view_.Build(settings_, context_.ProgramDir)) return false;
  const LayoutSize size = view_.ClientSize();
  ::SetWindowPos(window_, nullptr, 0, 0, size.Width, size.Height, SWP_NOMOVE | SWP_NOZORDER);
  NewsBrowser::Events events{
      [this](int progress, int progressMax) { OnNewsProgress(progress, progressMax); },
      [this] { OnNewsCompleted(); }};
  news_ = std::make_unique<NewsBand>(window_, view_.NewsBounds(),
                                     ColourOfSetting(settings_.NewsBorderColor), settings_.ShowNews,
                                     std::move(events));
  return true;
}

void MainWindow::SetStatusText(const std::string& text) {
  Repaint(view_.SetStatusText(WideFrom1252(text)));
}

std::int64_t MainWindow::GaugeMaxValue() const { return view_.GaugeMaxValue(); }

void MainWindow::SetGaugeMaxValue(std::int64_t maximum) {
  Repaint(view_.SetGaugeMaxValue(maximum));
}

void MainWindow::SetGaugeProgress(std::int64_t position) {
  Repaint(view_.SetGaugeProgress(position));
}

void MainWindow::ShowStart() {
  view_.ShowStart();
  // The mouse may already rest on it.
  POINT at;
  if (window_ != nullptr && ::GetCursorPos(&at) && ::ScreenToClient(window_, &at) &&
      ::WindowFromPoint(at) == window_) {
    OnMouseMove(at);
  }
}

void MainWindow::ProcessPendingEvents() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The loop that owns the program ends it; it has to see the request too.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void MainWindow::CloseMainWindow() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

bool MainWindow::StartProgram(const std::string& program, std::string_view parameters,
                              const std::string& workingDir) {
  return context_.ProgramShell.Start(program, parameters, workingDir);
}

void MainWindow::ShowErrorBox(const std::string& text) { ::ShowErrorBox(window_, text); }

bool MainWindow::OpenMusic(const std::string& path) { return music_ && music_->Load(path); }

void MainWindow::StartMusic() {
  if (music_) music_->Start();
}

void MainWindow::StopMusic() {
  if (music_) music_->Stop();
}

void MainWindow::PlayClickSound(bool wait) { clickSound_->Play(wait); }

void MainWindow::RequestNewsPage() {
  if (news_ && news_->Request(settings_.NewsUrl)) {
    StartNewsTimeout();
    return;
  }
  // No page can come: the run starts once the activation step has returned.
  RunAfterCurrentEvent([this] { StartRunWithoutNews(); });
}

void MainWindow::StartNewsTimeout() {
  const auto milliseconds = static_cast<UINT>(context_.NewsTimeout.count());
  ::SetTimer(window_, kNewsTimeoutTimer, milliseconds, nullptr);
}

void MainWindow::RunAfterCurrentEvent(std::function<void()> step) {
  queuedSteps_.push_back(std::move(step));
  if (window_ == nullptr || !::PostMessageW(window_, kRunQueuedStepMessage, 0, 0)) {
    RunQueuedStep();  // no loop will deliver it: run it now
  }
}

void MainWindow::EndProcess() { context_.EndProcess(0); }
