#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>

#include "ProgressGauge.h"

namespace {

class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Width of the filled part, read from the painted pixels.
int FilledWidth(ProgressGauge& gauge) {
  const QImage image = gauge.grab().toImage();
  int filled = 0;
  while (filled < image.width() && image.pixelColor(filled, image.height() / 2) == Qt::red)
    ++filled;
  return filled;
}

}  // namespace

TEST(Gauge, PositionIsClampedAndFollowsALoweredMaximum) {
  ProgressGauge gauge;
  gauge.SetProgress(150);
  EXPECT_EQ(gauge.Progress(), 100);
  gauge.SetProgress(-1);  // how a browser reports the end of loading
  EXPECT_EQ(gauge.Progress(), 0);
  gauge.SetProgress(80);
  gauge.SetMaxValue(50);
  EXPECT_EQ(gauge.Progress(), 50);
  EXPECT_EQ(gauge.Percent(), 100);
  gauge.SetMaxValue(-7);
  EXPECT_EQ(gauge.MaxValue(), 0);
  EXPECT_EQ(gauge.Progress(), 0);
  EXPECT_EQ(gauge.Percent(), 0);  // a maximum of 0 shows nothing, without dividing by it
}

TEST(Gauge, FillsWholePercentsOfItsWidth) {
  struct Case {
    std::int64_t maximum, position;
    int width, percent, filled;
  };
  const Case cases[] = {
      {100, 0, 200, 0, 0},  {100, 100, 200, 100, 200},
      {3, 1, 200, 33, 66},  {3, 2, 209, 66, 137},
      {1000, 9, 200, 0, 0}, {1000, 19, 200, 1, 2},
      {0, 0, 200, 0, 0},    {std::int64_t{1} << 62, std::int64_t{1} << 61, 100, 50, 50},
  };
  for (const Case& c : cases) {
    ProgressGauge gauge;
    gauge.resize(c.width, 10);
    gauge.SetBackColor(Qt::white);
    gauge.SetForeColor(Qt::red);
    gauge.SetMaxValue(c.maximum);
    gauge.SetProgress(c.position);
    EXPECT_EQ(gauge.Percent(), c.percent) << c.position << "/" << c.maximum;
    EXPECT_EQ(FilledWidth(gauge), c.filled) << c.position << "/" << c.maximum;
    EXPECT_EQ(gauge.grab().toImage().pixelColor(c.width - 1, 5),
              c.filled == c.width ? QColor(Qt::red) : QColor(Qt::white));
  }
}

TEST(Gauge, RepaintsOnlyWhenThePercentChanges) {
  ProgressGauge gauge;
  gauge.resize(200, 10);
  gauge.SetMaxValue(1000);
  gauge.show();
  QApplication::processEvents();
  PaintCounter counter;
  gauge.installEventFilter(&counter);

  for (int position = 1; position <= 9; ++position) gauge.SetProgress(position);  // still 0 %
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);

  gauge.SetProgress(10);  // 1 %
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 1);
}
