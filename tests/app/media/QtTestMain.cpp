// GoogleTest inside a QApplication prepared for the web engine; widgets draw on the offscreen
// platform unless a display platform was chosen.
#include <gtest/gtest.h>

#include <QApplication>

#include "media/NewsPane.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  NewsPane::PrepareWebEngine();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
