// Printing on Windows: the system's print dialog, then GDI (print_gdi.cpp).
// The small progress window of a long print is a template like any dialog's.
#include "app/toolkit/backend.h"
#include "app/toolkit/win32/dialog_template_ex.h"
#include "app/toolkit/win32/print_native.h"

namespace toolkit::backend {
namespace {

constexpr int kProgressLabel = 100;

constexpr ControlTemplate kProgressControls[] = {
    {kProgressLabel, ControlKind::kLabel, "", 10, 10, 160, 10, WS_CHILD | WS_VISIBLE | SS_LEFT},
    {IDCANCEL, ControlKind::kPushButton, "Cancel", 65, 28, 50, 14,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
};

constexpr DialogTemplate kProgress = {0,
                                      "Printing",
                                      0,
                                      0,
                                      180,
                                      50,
                                      "MS Shell Dlg",
                                      8,
                                      WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SHELLFONT,
                                      0,
                                      kProgressControls};

}  // namespace

bool CanPreviewPrint() { return false; }

PrintResult Print(HWND owner, const PrintJob& job, bool /*preview*/, std::string& failure) {
  switch (win32::PrintWithDialog(owner, job.title, job.layOut,
                                 win32::BuildDialogTemplateEx(kProgress), kProgressLabel,
                                 &failure)) {
    case win32::PrintOutcome::printed:
      return PrintResult::printed;
    case win32::PrintOutcome::cancelled:
      return PrintResult::cancelled;
    case win32::PrintOutcome::failed:
      break;
  }
  return PrintResult::failed;
}

}  // namespace toolkit::backend
