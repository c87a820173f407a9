// The window's own error message box: modal, owned, caption "Morvo Patcher", error icon.
#pragma once

#include <QString>

class QWidget;

void ShowErrorBox(QWidget* owner, const QString& text);
