// The shared layout's rectangles, sizes and points as Qt takes them.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "PanelLayout.h"

inline QRect ToQRect(const morvo::LayoutRect& rect) {
  return QRect(rect.X, rect.Y, rect.Width, rect.Height);
}

inline QSize ToQSize(const morvo::LayoutSize& size) { return QSize(size.Width, size.Height); }

inline QPoint ToQPoint(const morvo::LayoutPoint& point) { return QPoint(point.X, point.Y); }
