#include "SkinCut.h"

#include <QPainter>
#include <algorithm>
#include <limits>

using namespace morvo;

namespace {

constexpr QRgb kTransparentKey = 0xFF00FF;

}  // namespace

std::optional<QImage> DecodeSkin(std::span<const std::uint8_t> bmp) {
  QImage skin;
  if (bmp.empty() || bmp.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
      !skin.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP")) {
    return std::nullopt;
  }
  return skin.convertToFormat(QImage::Format_RGB32);
}

QImage BlankPicture(int width, int height) {
  if (width < 1 || height < 1) return QImage();
  QImage picture(width, height, QImage::Format_ARGB32);
  picture.fill(Qt::white);
  return picture;
}

void CopySkinRect(const QImage& skin, const SettingsRect& source, QImage& picture) {
  if (picture.isNull() || source.Width < 1 || source.Height < 1) return;
  // Clip in 64 bits: rectangles come from a file and may hold any 32-bit value.
  const std::int64_t left = std::max<std::int64_t>(source.X, 0);
  const std::int64_t top = std::max<std::int64_t>(source.Y, 0);
  const std::int64_t right =
      std::min<std::int64_t>({std::int64_t{source.X} + source.Width, skin.width(),
                              std::int64_t{source.X} + picture.width()});
  const std::int64_t bottom =
      std::min<std::int64_t>({std::int64_t{source.Y} + source.Height, skin.height(),
                              std::int64_t{source.Y} + picture.height()});
  if (left >= right || top >= bottom) return;
  QPainter painter(&picture);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  const QRect from(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                   static_cast<int>(bottom - top));
  painter.drawImage(QPoint(static_cast<int>(left - source.X), static_cast<int>(top - source.Y)),
                    skin, from);
}

QImage KeyOutMagenta(const QImage& picture) {
  QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == kTransparentKey) line[x] = 0;
    }
  }
  return keyed;
}
