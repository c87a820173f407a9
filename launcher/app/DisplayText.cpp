#include "DisplayText.h"

#include "text/Windows1252.h"

using namespace morvo;

QString DisplayText(std::string_view windows1252) {
  QString text = QString::fromStdString(Windows1252ToUtf8(windows1252));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}
