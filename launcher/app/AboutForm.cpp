#include "AboutForm.h"

#include <QDesktopServices>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>

#include "AboutBody.h"
#include "ClickSound.h"
#include "DisplayText.h"
#include "OutlineShape.h"
#include "WindowFont.h"

using namespace morvo;

TAboutForm::TAboutForm(const PatcherSettings& settings, ClickSound& clickSound, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      clickSound_(clickSound),
      shpBorder_(new OutlineShape(this)),
      mbxAbout_(new QPlainTextEdit(this)),
      btnRegister_(new QPushButton(this)),
      btnClose_(new QPushButton(this)) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QString::fromLatin1(kWindowCaption));
  setFixedSize(346, 323);
  setFont(DesignFont());
  setModal(true);
  QPalette face = palette();
  face.setColor(QPalette::Window, palette().color(QPalette::Button));
  setPalette(face);
  setAutoFillBackground(true);

  shpBorder_->setObjectName(QStringLiteral("Shp_Border"));
  shpBorder_->setGeometry(15, 15, 315, 259);
  shpBorder_->SetPenColor(palette().color(QPalette::Dark));

  mbxAbout_->setObjectName(QStringLiteral("Mbx_About"));
  mbxAbout_->setGeometry(20, 20, 305, 249);
  mbxAbout_->setFrameShape(QFrame::NoFrame);
  mbxAbout_->setReadOnly(true);
  mbxAbout_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mbxAbout_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  mbxAbout_->setFocusPolicy(Qt::ClickFocus);  // the Tab key skips it
  QPalette textFace = mbxAbout_->palette();
  textFace.setColor(QPalette::Base, palette().color(QPalette::Button));
  mbxAbout_->setPalette(textFace);

  btnRegister_->setObjectName(QStringLiteral("Btn_Register"));
  btnRegister_->setGeometry(16, 288, 153, 25);
  btnRegister_->setAutoDefault(false);
  btnClose_->setObjectName(QStringLiteral("Btn_Close"));
  btnClose_->setGeometry(176, 288, 153, 25);
  btnClose_->setAutoDefault(false);
  setTabOrder(btnClose_, btnRegister_);

  connect(btnRegister_, &QPushButton::clicked, this, &TAboutForm::Btn_RegisterClick);
  connect(btnClose_, &QPushButton::clicked, this, &TAboutForm::Btn_CloseClick);
}

void TAboutForm::FillAndShow() {
  if (const std::optional<bool> english = AboutLanguageIsEnglish(settings_.Language)) {
    isEnglish_ = *english;
    aboutBody_ = morvo::AboutBody(settings_.AboutText, isEnglish_);
  }
  exec();
}

void TAboutForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAboutForm::FormShow() {
  const AboutCaptions captions = AboutButtonCaptions(isEnglish_);
  btnRegister_->setText(QString::fromLatin1(captions.Register));
  btnClose_->setText(QString::fromLatin1(captions.Close));
  mbxAbout_->setPlainText(DisplayText(aboutBody_));
  btnClose_->setFocus();
}

void TAboutForm::Btn_RegisterClick() {
  clickSound_.Play(false);
  QDesktopServices::openUrl(QUrl(DisplayText(settings_.RegisterUrl)));
}

void TAboutForm::Btn_CloseClick() {
  clickSound_.Play(false);
  close();
}
