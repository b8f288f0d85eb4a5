// CWinApp and the program's start.
#include "app/toolkit/cwinapp.h"

#include <cstdio>

#include "app/toolkit/backend.h"
#include "app/toolkit/cdialog.h"
#include "app/toolkit/resource_table.h"

namespace {

CWinApp* runningApp = nullptr;

std::string FileNameWithoutExtension(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
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

HICON CWinApp::LoadIcon(UINT id) const {
  const IconResource* icon = toolkit::FindIcon(static_cast<int>(id));
  return icon ? toolkit::backend::LoadIcon(*icon) : nullptr;
}

CWinApp* AfxGetApp() { return runningApp; }

const char* AfxGetAppName() {
  if (runningApp != nullptr && runningApp->m_pszAppName != nullptr) return runningApp->m_pszAppName;
  static std::string fromExecutable;
  if (fromExecutable.empty()) {
    fromExecutable = FileNameWithoutExtension(toolkit::backend::ExecutablePath());
  }
  return fromExecutable.c_str();
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
  return toolkit::backend::MessageBox(toolkit::ActiveDialogWindow(), text ? text : "",
                                      AfxGetAppName(), type);
}

void AfxPrintProgramLine(const char* line) {
  toolkit::backend::PrintProgramLine(line ? line : "", AfxGetAppName());
}

int AfxWinMain(int argc, char** argv) {
  const std::string program = FileNameWithoutExtension(argc > 0 && argv[0] ? argv[0] : "kestrel");
  return toolkit::backend::RunProgram(
      argc, argv, program.c_str(),
      [&]() -> int {
        CWinApp* app = AfxGetApp();
        if (app == nullptr) {
          std::fprintf(stderr, "%s: no program object to run\n", program.c_str());
          return 1;
        }
        app->appName_ = program;
        app->m_pszAppName = app->appName_.c_str();
        if (app->InitInstance()) toolkit::backend::RunWhileWindowsOpen();
        return app->ExitInstance();
      },
      [] {
        if (CWinApp* app = AfxGetApp()) app->PrepareInstance();
      });
}
