#include "WindowFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

#include "DisplayText.h"

namespace {

constexpr char kDesignFamily[] = "MS Sans Serif";
constexpr int kDesignPixelSize = 11;  // 8 points at 96 dpi
constexpr int kLargestPoints = 720;   // ten inches: anything above is a broken setting

int PointsToPixels(int points) { return (std::min(points, kLargestPoints) * 96 + 36) / 72; }

}  // namespace

QFont DesignFont() {
  if (QFontDatabase::families().contains(QString::fromLatin1(kDesignFamily))) {
    QFont font(QString::fromLatin1(kDesignFamily));
    font.setPixelSize(kDesignPixelSize);
    return font;
  }
  // The largest pixel size whose line still fits 13 pixels keeps every measurement of the
  // layout where the skin expects it.
  QFont font = QApplication::font();
  int best = 6;
  for (int size = 6; size <= 16; ++size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= kDesignLineHeight) best = size;
  }
  font.setPixelSize(best);
  return font;
}

QFont SettingsFont(const std::string& name, int points, bool bold) {
  QFont font = DesignFont();
  if (!name.empty()) font.setFamily(DisplayText(name));
  if (points > 0) font.setPixelSize(PointsToPixels(points));
  font.setBold(bold);
  return font;
}
