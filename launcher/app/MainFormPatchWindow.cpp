// What the patch engine reaches of the main window: status line, gauge, Start, events, close,
// program start.
#include <QCoreApplication>
#include <QLabel>

#include "ClickArea.h"
#include "DisplayText.h"
#include "MainForm.h"
#include "ProgressGauge.h"

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
