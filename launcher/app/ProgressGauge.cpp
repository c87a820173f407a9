#include "ProgressGauge.h"

#include <QPainter>
#include <algorithm>

ProgressGauge::ProgressGauge(QWidget* parent) : QWidget(parent) {}

void ProgressGauge::SetMaxValue(std::int64_t maximum) {
  max_ = std::max<std::int64_t>(maximum, 0);
  position_ = std::min(position_, max_);
  Refresh();
}

void ProgressGauge::SetProgress(std::int64_t position) {
  position_ = std::clamp<std::int64_t>(position, 0, max_);
  Refresh();
}

void ProgressGauge::SetBackColor(const QColor& color) {
  back_ = color;
  update();
}

void ProgressGauge::SetForeColor(const QColor& color) {
  fore_ = color;
  update();
}

void ProgressGauge::Refresh() {
  // position <= max, and dividing before multiplying would lose the percent; the product stays
  // far inside 64 bits for any size a download or an archive can have.
  const int percent =
      max_ == 0 ? 0 : static_cast<int>(static_cast<__int128>(position_) * 100 / max_);
  if (percent == percent_) return;
  percent_ = percent;
  update();
}

void ProgressGauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int filled = width() * percent_ / 100;
  painter.fillRect(0, 0, filled, height(), fore_);
  painter.fillRect(filled, 0, width() - filled, height(), back_);
}
