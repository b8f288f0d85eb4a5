// The program's start on Qt: the display check, the QApplication, its look.
#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "app/toolkit/backend.h"
#include "app/toolkit/qt/dialog_font.h"
#include "app/toolkit/qt/display_check.h"
#include "app/toolkit/qt/start_limits.h"
#include "app/toolkit/session_end.h"

namespace toolkit::backend {

void PrintProgramLine(std::string_view line, std::string_view /*caption*/) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

namespace {

// While Qt starts: a display named but not there (no X server at DISPLAY, a
// Wayland socket without a compositor, a platform plugin missing) is a fatal
// error inside Qt, which would abort the process. The program says what it
// says without any display instead and exits with 1. Qt's other messages of
// the start are held and passed on once it has started.
const char* startingProgram = "kestrel";
QtMessageHandler handlerBefore = nullptr;
std::vector<std::pair<QtMsgType, QString>> heldMessages;

// A thread Qt could not start (its stack found no room under a memory
// limit) leaves the program waiting for it for ever: it ends instead.
void EndIfNoThread(const QString& message) {
  if (!message.startsWith(QLatin1String("QThread::start: Thread creation error"))) return;
  std::fprintf(stderr, "%s: not enough memory: a thread cannot be started (%s)\n", startingProgram,
               qPrintable(message.section(QLatin1Char('('), 1).chopped(1)));
  std::fflush(stderr);
  std::_Exit(1);
}

void WhileQtStarts(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "%s: %s\n", startingProgram, kNoDisplayMessage);
    std::fflush(stderr);
    std::_Exit(1);
  }
  EndIfNoThread(message);
  heldMessages.emplace_back(type, message);
}

// Once Qt has started: every message goes where it went before.
void AfterQtStarted(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  EndIfNoThread(message);
  if (handlerBefore != nullptr) {
    handlerBefore(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

void PassOnHeldMessages() {
  qInstallMessageHandler(AfterQtStarted);
  for (const auto& [type, message] : heldMessages) {
    const QMessageLogContext context;
    qt_message_output(type, context, message);
  }
  heldMessages.clear();
}

}  // namespace

int RunProgram(int argc, char** argv, const char* program, const std::function<int()>& run,
               const std::function<void()>& beforeStart) {
  // Too few files or too little memory make Qt trap or hang as it starts.
  if (const std::string limits = StartLimitProblem(); !limits.empty()) {
    std::fprintf(stderr, "%s: %s\n", program, limits.c_str());
    return 1;
  }
  // Qt ends the process when it finds no display; ask first.
  const std::string problem = DisplayProblem(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                             std::getenv("WAYLAND_DISPLAY"));
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s\n", program, problem.c_str());
    return 1;
  }
  if (beforeStart && ProcessMemoryLimit() == 0) beforeStart();
  startingProgram = program;
  handlerBefore = qInstallMessageHandler(WhileQtStarts);
  QApplication qt(argc, argv);
  PassOnHeldMessages();
  ApplyLook(qt);
  QGuiApplication::setDesktopFileName(QStringLiteral(KESTREL_DESKTOP_ID));
  WatchSessionEnd();
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
