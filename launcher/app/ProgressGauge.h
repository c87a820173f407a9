// The bar gauge of the status area: no border, no text, whole percents.
#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

class ProgressGauge : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressGauge(QWidget* parent = nullptr);

  std::int64_t MaxValue() const { return max_; }
  std::int64_t Progress() const { return position_; }
  int Percent() const { return percent_; }

  // A negative maximum counts as 0; a maximum below the position takes the position with it.
  void SetMaxValue(std::int64_t maximum);
  // Clamped into 0 .. maximum.
  void SetProgress(std::int64_t position);
  void SetBackColor(const QColor& color);
  void SetForeColor(const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Recomputes the percent; repaints only when it changed.
  void Refresh();

  std::int64_t max_ = 100;
  std::int64_t position_ = 0;
  int percent_ = 0;
  QColor back_ = Qt::white;
  QColor fore_ = Qt::blue;
};
