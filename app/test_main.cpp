// Test entry for Qt tests: the system's services, then one QApplication on the
// offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "adapters/linux/system_services.h"

int main(int argc, char** argv) {
  zelmor::adapters::InstallSystemServices();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
