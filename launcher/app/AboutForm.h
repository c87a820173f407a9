// The About window: the configured text with the product lines, a sign-up button and a close
// button. Created hidden once, refilled and shown modally on each About click.
#pragma once

#include <QDialog>
#include <string>

#include "WindowCaption.h"
#include "config/PatcherSettings.h"

class ClickSound;
class OutlineShape;
class QPlainTextEdit;
class QPushButton;

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  TAboutForm(const morvo::PatcherSettings& settings, ClickSound& clickSound,
             QWidget* parent = nullptr);

  // Sets IsEnglish and AboutBody from Language (any value but 0 and 1 keeps them), then shows
  // the window modally; returns once it is closed.
  void FillAndShow();

  bool IsEnglish() const { return isEnglish_; }
  const std::string& AboutBody() const { return aboutBody_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void Btn_RegisterClick();
  void Btn_CloseClick();

  const morvo::PatcherSettings& settings_;
  ClickSound& clickSound_;
  bool isEnglish_ = false;
  std::string aboutBody_;
  OutlineShape* shpBorder_;
  QPlainTextEdit* mbxAbout_;
  QPushButton* btnRegister_;
  QPushButton* btnClose_;
};
