// CFileDialog: the system's dialog for choosing a file to open or to save
// to, in the shape of the other dialogs: construct, DoModal, read the path.
//
//   CFileDialog dlg(FALSE, "dat", "phone.dat", OFN_OVERWRITEPROMPT,
//                   "Kestrel books (*.dat)|*.dat|All files (*.*)|*.*||");
//   if (dlg.DoModal() == IDOK) Write(dlg.GetFilePath());
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/toolkit/cstring.h"
#include "app/toolkit/win_types.h"

class CWnd;

// Flags of CFileDialog.
constexpr UINT OFN_OVERWRITEPROMPT = 0x00000002;  // asks before a chosen file is replaced

class CFileDialog {
 public:
  // openFileDialog: TRUE to choose a file to open, FALSE one to save to.
  // defaultExtension (without the dot) is added to a name typed without
  // one. fileName is proposed. filter lists pairs "description|pattern|",
  // ending with "|" (patterns separated by ";").
  explicit CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr,
                       const char* fileName = nullptr, UINT flags = 0,
                       const char* filter = nullptr, CWnd* parent = nullptr);

  // Runs the dialog modally, owned by the parent or the dialog running now.
  // IDOK once a file is chosen, IDCANCEL when the user cancels (or no
  // dialog can be shown).
  INT_PTR DoModal();

  // The chosen file in the system's own form, which holds any name the
  // system accepts; and the same path in Windows-1252, for showing.
  const std::filesystem::path& GetFilePath() const { return path_; }
  CString GetPathName() const;

  // What the backend shows (backend.h).
  struct Request {
    bool open;
    std::string defaultExtension;  // Windows-1252, like the rest below
    std::string fileName;
    UINT flags;
    std::vector<std::pair<std::string, std::string>> filters;  // description, patterns
  };

 private:
  Request request_;
  CWnd* parent_;
  std::filesystem::path path_;
};
