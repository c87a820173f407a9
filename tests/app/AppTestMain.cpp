// Widget tests run on Qt's offscreen platform unless another one is asked for.
#include <gtest/gtest.h>

#include <QApplication>

#include "SanitizerOptions.h"
#include "media/NewsPane.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  NewsPane::PrepareWebEngine();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
