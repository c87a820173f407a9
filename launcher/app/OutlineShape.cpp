#include "OutlineShape.h"

#include <QPainter>

OutlineShape::OutlineShape(QWidget* parent) : QWidget(parent) {}

void OutlineShape::SetPenColor(const QColor& color) {
  pen_ = color;
  update();
}

void OutlineShape::paintEvent(QPaintEvent*) {
  if (width() < 1 || height() < 1) return;
  QPainter painter(this);
  painter.setPen(QPen(pen_, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, width() - 1, height() - 1);
}
