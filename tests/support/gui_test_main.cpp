// main for test programs that open windows: one QApplication with the
// toolkit's look for all tests (the platform comes from QT_QPA_PLATFORM).
#include <QApplication>

#include "app/toolkit/qt_access.h"
#include "gtest/gtest.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  toolkit::ApplyLook(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
