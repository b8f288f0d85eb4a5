// Modal dialogs from in-memory templates: DialogBoxIndirectParamW and the one
// dialog procedure, which hands the messages that message maps handle to the
// dialog's owner and leaves the rest (Tab, Enter, Escape, mnemonics, default
// buttons) to the system's dialog manager.
#include "app/toolkit/win32/windows_header.h"
// (windows_header.h first: it brings <windows.h> with the program's settings.)
#include "app/toolkit/win32/native.h"
#include "app/toolkit/session_end.h"

namespace win32 {
namespace {

DialogEvents* EventsOf(HWND window) {
  return reinterpret_cast<DialogEvents*>(GetWindowLongPtrW(window, DWLP_USER));
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return reinterpret_cast<DialogEvents*>(lParam)->Init(window) ? TRUE : FALSE;
  }
  DialogEvents* events = EventsOf(window);
  if (events == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      events->Command(HIWORD(wParam), static_cast<short>(LOWORD(wParam)));
      return TRUE;
    case WM_SYSCOMMAND:
      return events->SysCommand(static_cast<unsigned>(wParam)) ? TRUE : FALSE;
    case WM_PAINT:
      if (!events->Paint()) return FALSE;
      // A handler that drew nothing (not minimised) leaves the window to the
      // dialog manager, which must still validate it or be asked again and again.
      if (GetUpdateRect(window, nullptr, FALSE)) DefWindowProcW(window, WM_PAINT, 0, 0);
      return TRUE;
    case WM_QUERYDRAGICON: {
      // One of the few messages whose result a dialog procedure returns itself.
      Icon icon = nullptr;
      return events->QueryDragIcon(&icon) ? reinterpret_cast<INT_PTR>(icon) : FALSE;
    }
    case WM_QUERYENDSESSION:
      // The logout goes on (the default answer is yes): every change of the
      // session is in its journal, and the windows that close from here on
      // were not closed by the user, so the journal stays for the next start.
      toolkit::SetSessionEnding(true);
      return FALSE;
    case WM_ENDSESSION:
      if (wParam == FALSE) toolkit::SetSessionEnding(false);  // called off after all
      return FALSE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::intptr_t RunDialog(const std::vector<std::uint16_t>& dialogTemplate, Window owner,
                        DialogEvents* events) {
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                 reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), owner,
                                 DialogProcedure, reinterpret_cast<LPARAM>(events));
}

void EndDialog(Window dialog, int code) { ::EndDialog(dialog, code); }

}  // namespace win32
