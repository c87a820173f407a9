// What the launcher's sequence and the patch engine reach of the main window: status line,
// gauge, Start, events, close, program start, error boxes, music, news page, process end.
#include <QCoreApplication>
#include <QLabel>

#include "ClickArea.h"
#include "DisplayText.h"
#include "ErrorBox.h"
#include "MainForm.h"
#include "ProgressGauge.h"
#include "media/BackgroundMusic.h"
#include "media/NewsPane.h"

void TMainForm::SetStatusText(const std::string& text) {
  lblProcess_->setText(DisplayText(text));
  lblProcess_->adjustSize();  // the status line grows to the right
}

std::int64_t TMainForm::GaugeMaxValue() const { return pgbProcess_->MaxValue(); }

void TMainForm::SetGaugeMaxValue(std::int64_t maximum) { pgbProcess_->SetMaxValue(maximum); }

void TMainForm::SetGaugeProgress(std::int64_t position) { pgbProcess_->SetProgress(position); }

void TMainForm::ShowStart() {
  // A Start button switched off in the settings stays off whatever the run says.
  if (settings_.ShowStart) lblStart_->show();
}

void TMainForm::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void TMainForm::CloseMainWindow() { close(); }

bool TMainForm::StartProgram(const std::string& program, std::string_view parameters,
                             const std::string& workingDir) {
  return context_.ProgramShell.Start(program, parameters, workingDir);
}

void TMainForm::ShowErrorBox(const std::string& text) { ::ShowErrorBox(this, DisplayText(text)); }

bool TMainForm::OpenMusic(const std::string& path) { return music_->LoadMusic(path); }

void TMainForm::StartMusic() { music_->StartMusic(); }

void TMainForm::StopMusic() { music_->Stop(); }

void TMainForm::RequestNewsPage() { news_->Request(); }

void TMainForm::RunAfterCurrentEvent(std::function<void()> step) {
  QMetaObject::invokeMethod(this, std::move(step), Qt::QueuedConnection);
}

void TMainForm::EndProcess() { context_.EndProcess(0); }
