// CFileDialog: the settings the dialog code gives, handed to the backend.
#include "app/toolkit/cfiledialog.h"

#include "app/toolkit/backend.h"
#include "app/toolkit/cdialog.h"
#include "text/cp1252.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* defaultExtension, const char* fileName,
                         DWORD flags, const char* filter, CWnd* parent)
    : open_(bOpenFileDialog != FALSE),
      defaultExtension_(defaultExtension ? defaultExtension : ""),
      fileName_(fileName ? fileName : ""),
      flags_(flags),
      filter_(filter ? filter : ""),
      parent_(parent) {}

INT_PTR CFileDialog::DoModal() {
  toolkit::backend::FileDialogSettings settings;
  settings.open = open_;
  settings.defaultExtension = defaultExtension_;
  settings.fileName = fileName_;
  settings.filter = filter_;
  settings.flags = flags_;
  HWND owner = parent_ != nullptr ? parent_->GetSafeHwnd() : toolkit::ActiveDialogWindow();
  std::string chosen;
  if (!toolkit::backend::RunFileDialog(owner, settings, chosen)) return IDCANCEL;
  path_ = std::move(chosen);
  return IDOK;
}

CString CFileDialog::GetPathName() const { return CString(cp1252::FromUtf8(path_).text); }
