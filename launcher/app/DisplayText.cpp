#include "DisplayText.h"

#include <algorithm>

#include "patch/GamePath.h"
#include "text/Windows1252.h"

QString DisplayText(std::string_view windows1252) {
  QString text = QString::fromStdString(Windows1252ToUtf8(windows1252));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

std::string SettingsFilePath(const std::string& programDir, std::string_view windows1252Name) {
  if (std::optional<std::string> resolved = ResolveGamePath(programDir, windows1252Name)) {
    return *resolved;
  }
  std::string name = Windows1252ToUtf8(windows1252Name);
  std::replace(name.begin(), name.end(), '\\', '/');
  return programDir + name;
}
