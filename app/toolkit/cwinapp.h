// CWinApp: the program object, and the functions that reach it. A program
// defines one static object of a class derived from CWinApp and lets main
// call AfxWinMain, which starts the toolkit and calls InitInstance.
#pragma once

#include <string>

#include "app/toolkit/win_types.h"

class CWinApp {
 public:
  // Registers this object as the running program (AfxGetApp).
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Called by AfxWinMain just before the toolkit starts, when the process
  // has room for work beside the start (see toolkit::backend::RunProgram):
  // work it hands to another thread runs while the toolkit starts. Not
  // called otherwise, nor by programs that call InitInstance themselves, so
  // InitInstance must do without it. Does nothing by default.
  virtual void PrepareInstance() {}
  // The program's work. Returning FALSE ends the process once it returns.
  virtual BOOL InitInstance();
  // The exit status of the process.
  virtual int ExitInstance();

  // Icon resource id, or nullptr when there is none or the toolkit is not
  // started. The handle stays valid for the life of the process.
  HICON LoadIcon(UINT id) const;

  // Kept for the dialog code's sake: 3-D controls are what the toolkit draws anyway.
  BOOL Enable3dControls() { return TRUE; }

  // The program's title: the executable's file name without its extension.
  // Captions of AfxMessageBox use it.
  const char* m_pszAppName = nullptr;

 private:
  friend int AfxWinMain(int argc, char** argv);
  std::string appName_;
};

// The running program object, or nullptr when none was constructed.
CWinApp* AfxGetApp();

// The program's title (see CWinApp::m_pszAppName), also without a program object.
const char* AfxGetAppName();

// Nothing to do on this toolkit; kept so start-up code reads as usual.
inline void AfxEnableControlContainer() {}

// Message box with the program's title as caption, owned by the active
// dialog. Returns the id of the chosen button (IDOK, IDCANCEL, IDYES, IDNO).
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// Prints a line the program answers a command-line question with (--help,
// --version) before any window exists: to the standard output where there
// is one, else to the console the program was started from, else in a
// message box.
void AfxPrintProgramLine(const char* line);

// The program's start: starts the toolkit, calling AfxGetApp()->
// PrepareInstance() just before where there is room for it, then calls
// AfxGetApp()->InitInstance(). Returns the process's exit status: 1 with a
// one-line message on the standard error when no window can be shown or
// there is no program object, else ExitInstance().
int AfxWinMain(int argc, char** argv);
