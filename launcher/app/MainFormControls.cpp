// The main window's controls in their design state, before the settings change them.
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>

#include "AppResources.h"
#include "ClickArea.h"
#include "MainForm.h"
#include "OutlineShape.h"
#include "PictureBox.h"
#include "ProgressGauge.h"
#include "WindowCaption.h"
#include "WindowFont.h"
#include "engine/LauncherSequence.h"
#include "media/BackgroundMusic.h"
#include "media/BannerBand.h"
#include "media/NewsPane.h"

using namespace morvo;

namespace {

constexpr int kDesignWidth = 545;
constexpr int kDesignHeight = 557;

template <typename Control>
Control* MakeControl(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* control = new Control(parent);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(left, top, width, height);
  return control;
}

QLabel* MakeTextLabel(QWidget* parent, const char* name, int left, int top) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

TMainForm::TMainForm(LauncherContext context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      context_(std::move(context)),
      settings_(context_.Settings),
      log_(context_.Log) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QString::fromLatin1(kWindowCaption));
  InitAppResources();
  setWindowIcon(QIcon(QString::fromLatin1(kProgramIcon)));
  setFont(DesignFont());
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);
  resize(kDesignWidth, kDesignHeight);

  CreateControls();
  ConnectHandlers();
  sequence_ = std::make_unique<LauncherSequence>(
      *this,
      LauncherParts{settings_, log_, context_.RunState, context_.ProgramDir, context_.ProgramPath});
  terminateRequested_ = !sequence_->OnCreate();
}

// FormDestroy: the decoded skin goes with the window.
TMainForm::~TMainForm() = default;

void TMainForm::CreateControls() {
  // Siblings stack in creation order: each control below lies above the ones made before it.
  banner_ = std::make_unique<BannerBand>(this, settings_, context_.ProgramDir);

  panel_ = MakeControl<QWidget>(this, "Panel", 0, 88, 545, 469);
  panel_->setAutoFillBackground(true);

  imgBackground_ = MakeControl<PictureBox>(panel_, "Img_Background", 0, 0, 545, 469);
  imgStart_ = MakeControl<PictureBox>(panel_, "Img_Start", 8, 96, 84, 22);
  imgStartB_ = MakeControl<PictureBox>(panel_, "Img_StartB", 8, 120, 84, 22);
  imgQuitB_ = MakeControl<PictureBox>(panel_, "Img_QuitB", 96, 120, 84, 22);
  imgQuit_ = MakeControl<PictureBox>(panel_, "Img_Quit", 96, 96, 84, 22);
  imgAbout_ = MakeControl<PictureBox>(panel_, "Img_About", 184, 96, 84, 22);
  imgAboutB_ = MakeControl<PictureBox>(panel_, "Img_AboutB", 184, 120, 84, 22);
  shpProcess_ = MakeControl<OutlineShape>(panel_, "Shp_Process", 280, 120, 209, 17);

  lblAboutText_ = MakeTextLabel(panel_, "Lbl_AboutText", 56, 176);
  lblQuitText_ = MakeTextLabel(panel_, "Lbl_QuitText", 56, 160);
  lblStartText_ = MakeTextLabel(panel_, "Lbl_StartText", 56, 144);
  lblProcess_ = MakeTextLabel(panel_, "Lbl_Process", 496, 96);

  lblAbout_ = MakeControl<ClickArea>(panel_, "Lbl_About", 8, 176, 40, 13);
  lblQuit_ = MakeControl<ClickArea>(panel_, "Lbl_Quit", 8, 160, 40, 13);
  lblStart_ = MakeControl<ClickArea>(panel_, "Lbl_Start", 8, 144, 40, 13);
  lblStart_->hide();

  pgbProcess_ = MakeControl<ProgressGauge>(panel_, "Pgb_Process", 280, 96, 209, 17);

  news_ = std::make_unique<NewsPane>(panel_, settings_);
  music_ = std::make_unique<BackgroundMusic>(settings_, this);
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (centred_) return;
  centred_ = true;
  // Without a window manager (or with one that keeps focus elsewhere) a new window may never
  // become active; the start-up sequence must not wait for that. The flag keeps it to one run.
  QMetaObject::invokeMethod(this, &TMainForm::FormActivate, Qt::QueuedConnection);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}
