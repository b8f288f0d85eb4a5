// main for test programs that open windows: one QApplication with the
// toolkit's look for all tests (the platform comes from QT_QPA_PLATFORM),
// and the program's resources, whose dialogs the tests run.
#include <QApplication>

#include "app/toolkit/qt/qt_windows.h"
#include "gtest/gtest.h"
#include "res/resources.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests, as ctest's discovery does after each link, opens no
  // window: it needs neither a display nor QT_QPA_PLATFORM.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication app(argc, argv);
  toolkit::ApplyLook(app);
  AfxSetResources(ProgramResources());
  return RUN_ALL_TESTS();
}
