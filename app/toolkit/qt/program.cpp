// The program's start on Qt: the display check, the QApplication, its look.
#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "app/toolkit/backend.h"
#include "app/toolkit/qt/dialog_font.h"
#include "app/toolkit/qt/display_check.h"
#include "app/toolkit/qt/quiet_start.h"

namespace toolkit::backend {

int RunProgram(int argc, char** argv, const char* program, const std::function<int()>& run) {
  // Qt ends the process when it finds no display; ask first.
  const std::string problem = DisplayProblem(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                             std::getenv("WAYLAND_DISPLAY"));
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s\n", program, problem.c_str());
    return 1;
  }
  // Variables that name no working display are only found out by Qt itself.
  QuietStart quiet(program);
  QApplication qt(argc, argv);
  quiet.Started();
  ApplyLook(qt);
  QGuiApplication::setDesktopFileName(QStringLiteral(KESTREL_DESKTOP_ID));
  return run();
}

void RunWhileWindowsOpen() {
  bool windowOpen = false;
  for (const QWidget* w : QApplication::topLevelWidgets()) windowOpen = windowOpen || w->isVisible();
  if (windowOpen) QApplication::exec();
}

std::string ExecutablePath() {
  if (QCoreApplication::instance() == nullptr) return {};
  return QCoreApplication::applicationFilePath().toStdString();
}

}  // namespace toolkit::backend
