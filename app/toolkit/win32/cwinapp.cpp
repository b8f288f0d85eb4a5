// CWinApp and the program's start on Windows.
#include "app/toolkit/cwinapp.h"

#include "app/toolkit/win32/native.h"

namespace {
CWinApp* runningApp = nullptr;
}  // namespace

CWinApp::CWinApp() { runningApp = this; }

CWinApp::~CWinApp() {
  if (runningApp == this) runningApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }

HICON CWinApp::LoadIcon(UINT id) const { return win32::LoadIconResource(static_cast<int>(id)); }

CWinApp* AfxGetApp() { return runningApp; }

const char* AfxGetAppName() {
  if (runningApp != nullptr && runningApp->m_pszAppName != nullptr) return runningApp->m_pszAppName;
  static const std::string fromExecutable = win32::ProgramName();
  return fromExecutable.c_str();
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
  return win32::ShowMessageBox(win32::ActiveWindow(), text ? text : "", AfxGetAppName(), type);
}

int AfxWinMain(int /*argc*/, char** /*argv*/) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 1;
  win32::StartControls();
  app->appName_ = win32::ProgramName();
  app->m_pszAppName = app->appName_.c_str();
  // Every window is a modal dialog that InitInstance runs to its end, so
  // there is no message loop left to run afterwards.
  app->InitInstance();
  return app->ExitInstance();
}
