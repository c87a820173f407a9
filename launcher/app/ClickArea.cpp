#include "ClickArea.h"

#include <QMouseEvent>

ClickArea::ClickArea(QWidget* parent) : QWidget(parent) {}

void ClickArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) leftPressed_ = true;
  event->accept();
}

void ClickArea::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = event->button() == Qt::LeftButton && leftPressed_ &&
                     rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) leftPressed_ = false;
  event->accept();
  if (click) emit clicked();
}

void ClickArea::enterEvent(QEnterEvent*) { emit mouseEnter(); }

void ClickArea::leaveEvent(QEvent*) { emit mouseLeave(); }
