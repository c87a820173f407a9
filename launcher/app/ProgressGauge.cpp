#include "ProgressGauge.h"

#include <QPainter>
#include <algorithm>

#include "PanelLayout.h"

using namespace morvo;

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
  const int percent = GaugePercent(position_, max_);
  if (percent == percent_) return;
  percent_ = percent;
  update();
}

void ProgressGauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int filled = GaugeFilledWidth(width(), percent_);
  painter.fillRect(0, 0, filled, height(), fore_);
  painter.fillRect(filled, 0, width() - filled, height(), back_);
}
