// CFileDialog: the system's own dialog for choosing a file to open or to save
// under, run modally like any other dialog:
//
//   CFileDialog dialog(FALSE, "dat", "phone.dat", OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
//                      "Kestrel book (*.dat)|*.dat|All files (*.*)|*.*||");
//   if (dialog.DoModal() == IDOK) Write(dialog.GetSystemPath());
//
// Unlike CDialog it has no template of ours: the backend shows the platform's
// file dialog.
#pragma once

#include <cstdint>
#include <string>

#include "app/toolkit/cstring.h"
#include "app/toolkit/win_types.h"

class CWnd;

using DWORD = std::uint32_t;

// Flags of the file dialog, with the values of the Windows dialog toolkit.
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;  // Save: ask before replacing a file
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;     // no "open read-only" box
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;      // leave the current folder as it was
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;    // Open: only files that exist

class CFileDialog {
 public:
  // bOpenFileDialog TRUE: an Open dialog, FALSE: Save As. defaultExtension
  // ("dat", without the dot) is added to a name typed without one; fileName
  // is the name offered at first; filter lists pairs of "description|patterns"
  // ending with "||", patterns separated by ';'. Texts are Windows-1252;
  // nullptr means none.
  explicit CFileDialog(BOOL bOpenFileDialog, const char* defaultExtension = nullptr,
                       const char* fileName = nullptr,
                       DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       const char* filter = nullptr, CWnd* parent = nullptr);

  // Shows the dialog until the user chooses a file (IDOK) or gives up
  // (IDCANCEL, also when no dialog can be shown).
  INT_PTR DoModal();

  // The file chosen by the last DoModal that returned IDOK, for showing:
  // its whole path in Windows-1252 ('?' for what the code page cannot hold).
  CString GetPathName() const;
  // The same path as the system names it (UTF-8), for opening the file.
  const std::string& GetSystemPath() const { return path_; }

 private:
  bool open_;
  std::string defaultExtension_;
  std::string fileName_;
  DWORD flags_;
  std::string filter_;
  CWnd* parent_;
  std::string path_;
};
