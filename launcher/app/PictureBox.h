// A picture control of the skin: shows its picture unscaled from the top-left corner; whatever
// the picture does not cover (or keys out as transparent) shows what lies below.
#pragma once

#include <QImage>
#include <QWidget>

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void SetPicture(QImage picture);
  const QImage& Picture() const { return picture_; }

 signals:
  // Any mouse button pressed on the picture.
  void mouseDown(Qt::MouseButton button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
};
