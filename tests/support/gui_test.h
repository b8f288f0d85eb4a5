// The fixture of tests that open real windows: after each test no top-level
// widget may be left at all (shown or hidden), and none may be left modal.
// QStrings print as text in failures.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <ostream>

#include "gtest/gtest.h"

// How googletest prints a QString (and a list of them) in a failure: quoted UTF-8.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
  *out << '{';
  for (qsizetype i = 0; i < list.size(); ++i) {
    if (i > 0) *out << ", ";
    PrintTo(list[i], out);
  }
  *out << '}';
}

class GuiTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // Widgets closed with deleteLater go now; whatever is left was leaked.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal window is still open";
    for (QWidget* w : QApplication::topLevelWidgets()) {
      ADD_FAILURE() << "window left behind (" << (w->isVisible() ? "shown" : "hidden")
                    << "): " << w->metaObject()->className() << " \""
                    << w->windowTitle().toStdString() << "\"";
      delete w;  // one leak fails one test, not every test after it
    }
  }
};
