// A rectangle outline with a 1-pixel pen and no fill (the frame around the gauge, the border of
// the About text).
#pragma once

#include <QColor>
#include <QWidget>

class OutlineShape : public QWidget {
  Q_OBJECT

 public:
  explicit OutlineShape(QWidget* parent = nullptr);

  void SetPenColor(const QColor& color);
  QColor PenColor() const { return pen_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor pen_ = Qt::black;
};
