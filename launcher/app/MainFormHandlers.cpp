// What the main window does when the user, the news page or the window system acts on it.
#include <QEvent>
#include <QWindow>

#include "AboutForm.h"
#include "ClickArea.h"
#include "DisplayText.h"
#include "ErrorBox.h"
#include "MainForm.h"
#include "PictureBox.h"
#include "log/LogLines.h"
#include "media/BackgroundMusic.h"
#include "media/NewsPane.h"
#include "run/PatchRun.h"
#include "text/Windows1252.h"

namespace {

// A mouse-over swap: the other picture is shown first, then this one hidden.
void SwapPictures(PictureBox* show, PictureBox* hide) {
  show->show();
  hide->hide();
}

}  // namespace

void TMainForm::ConnectHandlers() {
  connect(lblStart_, &ClickArea::clicked, this, &TMainForm::Lbl_StartClick);
  connect(lblQuit_, &ClickArea::clicked, this, &TMainForm::Lbl_QuitClick);
  connect(lblAbout_, &ClickArea::clicked, this, &TMainForm::Lbl_AboutClick);
  connect(lblStart_, &ClickArea::mouseEnter, this, [this] { SwapPictures(imgStartB_, imgStart_); });
  connect(lblStart_, &ClickArea::mouseLeave, this, [this] { SwapPictures(imgStart_, imgStartB_); });
  connect(lblQuit_, &ClickArea::mouseEnter, this, [this] { SwapPictures(imgQuitB_, imgQuit_); });
  connect(lblQuit_, &ClickArea::mouseLeave, this, [this] { SwapPictures(imgQuit_, imgQuitB_); });
  connect(lblAbout_, &ClickArea::mouseEnter, this, [this] { SwapPictures(imgAboutB_, imgAbout_); });
  connect(lblAbout_, &ClickArea::mouseLeave, this, [this] { SwapPictures(imgAbout_, imgAboutB_); });
  connect(imgBackground_, &PictureBox::mouseDown, this, &TMainForm::Img_BackgroundMouseDown);
  connect(news_.get(), &NewsPane::progressChanged, this, &TMainForm::Wbs_NewsProgressChange);
  connect(news_.get(), &NewsPane::navigationCompleted, this, &TMainForm::Wbs_NewsNavigateComplete2);
}

void TMainForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TMainForm::FormActivate() {
  if (!firstActivation_) return;
  firstActivation_ = false;
  music_->StartMusic();
  log_.LogLine(loglines::kUnfinishedCheck);
  patchRun_->RecoverUnfinishedPatches();
  log_.LogLine(loglines::kUnfinishedCheckDone);
  log_.LogBlankLine();
  SetStatusText(settings_.Messages[1]);
  ProcessPendingEvents();
  waitingForNews_ = true;
  log_.LogLine(loglines::kNewsFetch);
  news_->Request();
}

void TMainForm::Wbs_NewsProgressChange(int progress, int progressMax) {
  if (progressMax != GaugeMaxValue()) SetGaugeMaxValue(progressMax);
  SetGaugeProgress(progress);
}

void TMainForm::Wbs_NewsNavigateComplete2() {
  if (!waitingForNews_) return;
  log_.LogLine(loglines::kNewsFetchDone);
  log_.LogBlankLine();
  waitingForNews_ = false;
  SetStatusText(settings_.Messages[2]);
  ProcessPendingEvents();
  // The run lasts until the last patch is installed: let the browser's signal return first.
  QMetaObject::invokeMethod(this, [this] { patchRun_->StartListDownload(); }, Qt::QueuedConnection);
}

void TMainForm::StopMusic() { music_->Stop(); }

void TMainForm::Lbl_StartClick() {
  if (settings_.MusicEnabled) StopMusic();
  PlayClickSound(true);
  // The game finds its data beside it whatever folder the launcher was started from.
  const bool started =
      context_.ProgramShell.Start(SettingsFilePath(context_.ProgramDir, settings_.GameExe),
                                  Windows1252ToUtf8(settings_.GameParameters), context_.ProgramDir);
  if (!started) ShowErrorBox(this, DisplayText(settings_.Messages[0] + settings_.GameExe));
  close();
}

void TMainForm::Lbl_QuitClick() {
  if (settings_.MusicEnabled) StopMusic();
  PlayClickSound(true);
  close();
  context_.EndProcess(0);
}

void TMainForm::Lbl_AboutClick() {
  PlayClickSound(false);
  if (aboutForm_) aboutForm_->FillAndShow();
}

void TMainForm::Img_BackgroundMouseDown() {
  // Any button drags the borderless window, as its caption bar would.
  if (QWindow* handle = windowHandle()) handle->startSystemMove();
}
