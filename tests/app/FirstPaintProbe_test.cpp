#include "FirstPaintProbe.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <string>

namespace {

// Paints the window twice, as a start paints it again and again; returns what was printed.
std::string OutputOfTwoPaints(QWidget& window) {
  QImage canvas(window.size(), QImage::Format_ARGB32);
  testing::internal::CaptureStdout();
  window.render(&canvas);
  window.render(&canvas);
  return testing::internal::GetCapturedStdout();
}

double NowSeconds() {
  const std::chrono::duration<double> now = std::chrono::steady_clock::now().time_since_epoch();
  return now.count();
}

}  // namespace

TEST(FirstPaintProbe, PrintsTheMonotonicTimeOfTheFirstPaintOnceAndOnlyWhenAsked) {
  QWidget unwatched;
  unwatched.resize(40, 30);
  qunsetenv("MORVO_BENCH_FIRST_PAINT");
  WatchFirstPaint(&unwatched);
  EXPECT_EQ(OutputOfTwoPaints(unwatched), "");

  QWidget watched;
  watched.resize(40, 30);
  qputenv("MORVO_BENCH_FIRST_PAINT", "1");
  const double before = NowSeconds();
  WatchFirstPaint(&watched);
  const std::string output = OutputOfTwoPaints(watched);
  const double after = NowSeconds();
  qunsetenv("MORVO_BENCH_FIRST_PAINT");

  ASSERT_EQ(output.rfind("first-paint ", 0), 0u) << output;
  EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line for two paints: " << output;
  const double stamp = std::strtod(output.c_str() + 12, nullptr);
  EXPECT_GE(stamp, before - 1e-6);
  EXPECT_LE(stamp, after + 1e-6);
}
