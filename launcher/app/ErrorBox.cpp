#include "ErrorBox.h"

#include <QMessageBox>

#include "WindowCaption.h"

void ShowErrorBox(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kWindowCaption), text, QMessageBox::Ok,
                  owner);
  box.setObjectName(QStringLiteral("ErrorBox"));
  box.exec();
}
