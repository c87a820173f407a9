// The start-up benchmark's probe. With MORVO_BENCH_FIRST_PAINT set in the environment, the
// first paint of a watched window prints "first-paint SECONDS" on standard output, SECONDS
// read from the system's monotonic clock, so that the program that started this one can time
// the start to the first painted window. Without the variable nothing is watched.
#pragma once

class QWidget;

void WatchFirstPaint(QWidget* window);
