// The fixture of tests that open real windows: after each test no window of
// the toolkit may be left open, and none may be left modal.
#pragma once

#include <QApplication>

#include "gtest/gtest.h"

class GuiTest : public ::testing::Test {
 protected:
  void TearDown() override {
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal window is still open";
    for (const QWidget* w : QApplication::topLevelWidgets()) {
      EXPECT_FALSE(w->isVisible()) << "window left open: " << w->windowTitle().toStdString();
    }
  }
};
