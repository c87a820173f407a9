// An invisible click area over a skinned button: takes every mouse event over the button.
#pragma once

#include <QWidget>

class ClickArea : public QWidget {
  Q_OBJECT

 public:
  explicit ClickArea(QWidget* parent = nullptr);

 signals:
  // A left button pressed and released over the area.
  void clicked();
  void mouseEnter();
  void mouseLeave();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool leftPressed_ = false;
};
