// The Windows calls of the Win32 backend behind plain C++ types. The files
// that implement the toolkit's backend.h include this, never <windows.h>:
// its macros (MessageBox, SendMessage, TRUE, IDOK, WS_POPUP, ...) and its
// GetSystemMetrics would clash with the toolkit's own names.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct HWND__;
struct HICON__;
struct HDC__;

namespace win32 {

using Window = HWND__*;
using Icon = HICON__*;
using Dc = HDC__*;

// What the dialog procedure of a running dialog hands on to its owner.
class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  // WM_INITDIALOG; true lets the dialog manager focus the first tab stop.
  virtual bool Init(Window window) = 0;
  virtual void Command(unsigned code, int id) = 0;  // WM_COMMAND
  // WM_SYSCOMMAND, WM_PAINT, WM_QUERYDRAGICON: false when the dialog leaves
  // the message to the dialog manager's default processing.
  virtual bool SysCommand(unsigned command) = 0;
  virtual bool Paint() = 0;
  virtual bool QueryDragIcon(Icon* icon) = 0;
};

// Runs an in-memory extended template modally (DialogBoxIndirectParamW);
// returns the code given to EndDialog, or -1 when no window could be made.
std::intptr_t RunDialog(const std::vector<std::uint16_t>& dialogTemplate, Window owner,
                        DialogEvents* events);
void EndDialog(Window dialog, int code);
// The active window of this thread: the owner of dialogs and boxes that name none.
Window ActiveWindow();

bool Show(Window window, int command);  // true when it was visible before
bool Enable(Window window, bool enable);  // true when it was disabled before
bool IsVisible(Window window);
bool IsEnabled(Window window);
bool IsIconic(Window window);
void SetText(Window window, std::string_view cp1252Text);
std::string Text(Window window);  // Windows-1252
Window DialogItem(Window dialog, int id);
// The focus to a control as the dialog manager moves it (WM_NEXTDLGCTL), so
// the default button follows; to any other window directly.
void Focus(Window window);
std::intptr_t Send(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
// Sends a message whose lParam is a text (LB_ADDSTRING), converted to UTF-16.
std::intptr_t SendText(Window window, unsigned message, std::uintptr_t wParam,
                       std::string_view cp1252Text);
// A message box; `place` is called with the box's window once it is made,
// before it shows, to move it.
int ShowMessageBox(Window owner, std::string_view text, std::string_view caption, unsigned type,
                   const std::function<void(Window box)>& place);
// A top-level window's rectangle {left, top, right, bottom} in screen pixels.
std::array<int, 4> WindowRect(Window window);
// The work area of the monitor that holds most of the window.
std::array<int, 4> WorkArea(Window window);
void MoveTo(Window window, int x, int y);  // the top-left corner, same size
void ClientSize(Window window, int* width, int* height);

// The system's file dialog (GetOpenFileNameW or GetSaveFileNameW), texts in
// Windows-1252; true with *chosen set once the user picks a file. The
// current folder stays as it was: the book is found by it.
bool ChooseFile(Window owner, bool open, std::string_view defaultExtension,
                std::string_view fileName, unsigned flags,
                const std::vector<std::pair<std::string, std::string>>& filters,
                std::filesystem::path* chosen);

// The real system menu of a dialog.
void AppendSystemMenuItem(Window dialog, unsigned flags, unsigned id, std::string_view text);
// Painting between BeginPaint and EndPaint; EndPaint takes what BeginPaint gave.
Dc BeginPaint(Window window);
void EndPaint(Window window, Dc dc);
bool DrawIcon(Dc dc, int x, int y, Icon icon);
int SystemMetric(int index);

// The program's icon resource id at the system's big-icon size, or nullptr.
Icon LoadIconResource(int id);
// The executable's path, in Windows-1252.
std::string ExecutablePath();
// A line for the user of a GUI program started from the command line: to
// the standard output when it goes to a file or pipe, else to the console of
// the parent process (cmd, PowerShell) when there is one, else in a message
// box. Windows-1252 text.
void PrintLine(std::string_view cp1252Line, std::string_view caption);
// Gives `control` the accessible name `cp1252Name` by dynamic annotation
// (IAccPropServices::SetHwndPropStr, PROPID_ACC_NAME).
void AnnotateName(Window control, std::string_view cp1252Name);
// The function AnnotateName calls; a test puts its own in to see the calls.
// Returns the one it replaces.
using NameAnnotation = void (*)(Window control, std::string_view cp1252Name);
NameAnnotation SetNameAnnotation(NameAnnotation annotate);
// Registers the Common Controls 6 classes that the manifest asks for, and
// starts COM for the accessibility calls.
void StartControls();

}  // namespace win32
