// What the main window does when the user, the news page or the window system acts on it.
#include <QEvent>
#include <QWindow>

#include "AboutForm.h"
#include "ClickArea.h"
#include "MainForm.h"
#include "PictureBox.h"
#include "engine/LauncherSequence.h"
#include "media/NewsPane.h"

using namespace morvo;

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

bool TMainForm::FirstActivation() const { return sequence_->FirstActivationPending(); }

bool TMainForm::WaitingForNews() const { return sequence_->WaitingForNews(); }

void TMainForm::FormActivate() { sequence_->OnActivate(); }

void TMainForm::Wbs_NewsProgressChange(int progress, int progressMax) {
  if (progressMax != GaugeMaxValue()) SetGaugeMaxValue(progressMax);
  SetGaugeProgress(progress);
}

void TMainForm::Wbs_NewsNavigateComplete2() { sequence_->OnNewsPageLoaded(); }

void TMainForm::Lbl_StartClick() { sequence_->OnStartClicked(); }

void TMainForm::Lbl_QuitClick() { sequence_->OnQuitClicked(); }

void TMainForm::Lbl_AboutClick() {
  PlayClickSound(false);
  if (aboutForm_) aboutForm_->FillAndShow();
}

void TMainForm::Img_BackgroundMouseDown() {
  // Any button drags the borderless window, as its caption bar would.
  if (QWindow* handle = windowHandle()) handle->startSystemMove();
}
