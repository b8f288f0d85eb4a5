// What the toolkit core asks of a platform backend. The core (CWnd, CDialog,
// CWinApp, data exchange, message maps) is plain C++; every call that makes,
// shows or asks a real window goes through the functions below. Each backend
// folder (qt/ here) defines all of them, and CMake links exactly one.
//
// The calls take after the Windows dialog manager on purpose: a window is an
// HWND, text is Windows-1252 (the backend converts at its edge), and a
// control is addressed by its template id. A Win32 backend maps most of them
// one to one onto USER32; the Qt backend emulates them on widgets.
//
// Handles: the core passes only handles of windows that exist. It forgets a
// dialog's handle, and those of its controls, when the dialog's run ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/toolkit/cwnd.h"
#include "app/toolkit/dialog_template.h"
#include "app/toolkit/win_types.h"
#include "report/page.h"

namespace toolkit::backend {

// What a running dialog reports to the core, which hands it to the dialog's
// message map.
class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  // WM_INITDIALOG: the window and its controls exist but are not shown yet.
  // True asks the backend to put the focus on the first tab stop. EndDialog
  // called from here ends the run before anything shows.
  virtual bool InitDialog(HWND dialog) = 0;
  // WM_COMMAND: a control's notification, Enter (IDOK), Escape (IDCANCEL).
  virtual void Command(UINT code, int id) = 0;
  // WM_SYSCOMMAND: a choice from the system menu, or the close box (SC_CLOSE).
  virtual void SysCommand(UINT command) = 0;
  // WM_PAINT: true when the dialog painted itself.
  virtual bool Paint() = 0;
  // WM_QUERYDRAGICON: true, with the icon, when the dialog has a handler.
  // Only a backend whose system asks for it (Windows) calls this.
  virtual bool QueryDragIcon(HICON* icon) {
    (void)icon;
    return false;
  }
  // The items of the window's system menu in order, or nullptr for none. A
  // backend with a native system menu adds the items beyond its own commands
  // (the SC_ ones) after InitDialog.
  virtual const CMenu* SystemMenu() = 0;
};

// The program: starts the toolkit, calls run and returns its result. When no
// window can be shown at all, writes "<program>: <reason>" as one line to the
// standard error and returns 1 without calling run. `beforeStart`, when
// given, is called on this thread just before the toolkit starts, once the
// process is known to have room for work beside the start, so that work it
// hands to another thread runs while the toolkit starts. It is not called
// when no window can be shown, nor when the process's memory is limited:
// the toolkit's start needs that memory first.
int RunProgram(int argc, char** argv, const char* program, const std::function<int()>& run,
               const std::function<void()>& beforeStart = {});
// A line of text for the user before any window exists (--help, --version):
// to the standard output, or where the platform shows such text when a
// program has none (a message box captioned `caption` on Windows).
void PrintProgramLine(std::string_view line, std::string_view caption);
// Runs the event loop while a top-level window is open (InitInstance kept one).
void RunWhileWindowsOpen();
// The running executable's path; empty before the toolkit starts.
std::string ExecutablePath();

// Builds the window of `dialog` with its controls, owned by `owner` (nullptr:
// none), and runs it modally. Returns the code given to EndDialog, or -1
// when the toolkit has not started or the window cannot be made.
int RunModalDialog(const DialogTemplate& dialog, HWND owner, DialogEvents& events);
// Ends the modal run of `dialog` with `code` once the handler that called it returns.
void EndDialog(HWND dialog, int code);
// A modal message box; returns the id of the button chosen.
int MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);
// The file dialog of CFileDialog (GetSaveFileNameW / GetOpenFileNameW on
// Windows): what it asks for, in Windows-1252.
struct FileDialogSettings {
  bool open = false;             // Open; false: Save As
  std::string defaultExtension;  // "dat": added to a name typed without an extension
  std::string fileName;          // the name offered at first
  std::string filter;            // "Kestrel book (*.dat)|*.dat|All files (*.*)|*.*||"
  std::uint32_t flags = 0;       // the OFN_ flags of cfiledialog.h
};
// Runs the platform's modal file dialog owned by `owner` (nullptr: none).
// True with `path`, the chosen file's whole path in UTF-8, when the user
// chose one; false when the user cancelled or no dialog could be shown.
bool RunFileDialog(HWND owner, const FileDialogSettings& settings, std::string& path);

// Controls and windows.
HWND GetDlgItem(HWND dialog, int id);  // nullptr when there is no such control
bool ShowWindow(HWND window, int command);  // true when it was visible before
bool EnableWindow(HWND window, bool enable);  // true when it was disabled before
bool IsIconic(HWND window);
std::string GetWindowText(HWND window);  // the caption of a dialog, a control's text
void SetWindowText(HWND window, std::string_view text);
void SetFocus(HWND window);
CRect GetClientRect(HWND window);
// A top-level window's rectangle, frame included, in screen pixels.
CRect GetWindowRect(HWND window);
// The work area (the screen less task bars and panels) of the screen that
// holds most of `window`.
CRect GetWorkArea(HWND window);
// Moves a top-level window's top-left corner to (x, y) in screen pixels.
void MoveWindow(HWND window, int x, int y);
// The messages of win_types.h. LB_ADDSTRING's lParam is Windows-1252 text.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Icons and painting.
HICON LoadIcon(const IconResource& icon);  // kept until the process ends; nullptr before start
HDC BeginPaint(HWND window);  // the context of the paint in progress, or nullptr
void EndPaint(HWND window, HDC context);
bool DrawIcon(HDC context, int x, int y, HICON icon);
int GetSystemMetrics(int index);

// Printing. What to print is asked for only once the user has chosen a
// printer, because the pages depend on its paper.
struct PrintJob {
  std::string title;  // the print job's name, Windows-1252
  // The pages for the chosen printer's paper, in points as it will be
  // printed (wider than tall when the user chose landscape).
  std::function<report::Document(const report::PaperSize& paper)> layOut;
};
enum class PrintResult { printed, cancelled, failed };
// Runs the platform's print dialog owned by `owner` and prints the job's
// pages on the printer chosen, showing the progress of a long print with a
// way to cancel it. With `preview`, shows the pages on screen first where
// the platform can (CanPreviewPrint). `failure` gets the reason of a failed print.
PrintResult Print(HWND owner, const PrintJob& job, bool preview, std::string& failure);
bool CanPreviewPrint();

}  // namespace toolkit::backend
