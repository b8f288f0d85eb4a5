// CWinApp and the program's start.
#include "app/toolkit/cwinapp.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "app/toolkit/display_check.h"
#include "app/toolkit/qt_access.h"
#include "app/toolkit/session_end.h"

namespace {

CWinApp* runningApp = nullptr;

std::string FileNameWithoutExtension(const std::string& path) {
  const auto slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace

CWinApp::CWinApp() { runningApp = this; }

CWinApp::~CWinApp() {
  if (runningApp == this) runningApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }

HICON CWinApp::LoadIcon(UINT id) const { return toolkit::LoadIconResource(static_cast<int>(id)); }

CWinApp* AfxGetApp() { return runningApp; }

const char* AfxGetAppName() {
  if (runningApp != nullptr && runningApp->m_pszAppName != nullptr) return runningApp->m_pszAppName;
  static std::string fromExecutable;
  if (fromExecutable.empty() && QCoreApplication::instance() != nullptr) {
    fromExecutable =
        FileNameWithoutExtension(QCoreApplication::applicationFilePath().toStdString());
  }
  return fromExecutable.c_str();
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
  return toolkit::RunMessageBox(QApplication::activeModalWidget(), text ? text : "",
                                AfxGetAppName(), type);
}

int AfxWinMain(int argc, char** argv) {
  const std::string program = FileNameWithoutExtension(argc > 0 && argv[0] ? argv[0] : "kestrel");
  const std::string problem = DisplayProblem(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                             std::getenv("WAYLAND_DISPLAY"));
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), problem.c_str());
    return 1;
  }
  CWinApp* app = AfxGetApp();
  if (app == nullptr) {
    std::fprintf(stderr, "%s: no program object to run\n", program.c_str());
    return 1;
  }
  QApplication qt(argc, argv);
  toolkit::ApplyLook(qt);
  QGuiApplication::setDesktopFileName(QStringLiteral(KESTREL_DESKTOP_ID));
  toolkit::WatchSessionEnd();
  app->appName_ = program;
  app->m_pszAppName = app->appName_.c_str();
  if (app->InitInstance()) {
    // A program that keeps windows open after InitInstance runs until the last closes.
    bool windowOpen = false;
    for (const QWidget* w : QApplication::topLevelWidgets())
      windowOpen = windowOpen || w->isVisible();
    if (windowOpen) QApplication::exec();
  }
  return app->ExitInstance();
}
