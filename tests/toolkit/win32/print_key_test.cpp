// Ctrl+P under the system's own dialog manager: the focused control would
// take the key, but the dialog gets the print command instead; with Alt
// held too it is no print key.
#include <gtest/gtest.h>

#include "app/toolkit/afxwin.h"
#include "res/resource.h"

void PressCtrlP(HWND focus, bool alt);  // print_emf_test.cpp
void ReleaseKeys();

namespace {

class PrintKeyDlg : public CDialog {
 public:
  static constexpr int kPrinted = 77;
  explicit PrintKeyDlg(bool alt) : CDialog(IDD_MATCH_LIST), alt_(alt) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (CWnd* list = GetDlgItem(IDC_MATCH_LIST)) PressCtrlP(list->GetSafeHwnd(), alt_);
    return TRUE;
  }
  void OnFilePrint() { EndDialog(kPrinted); }

 private:
  bool alt_;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PrintKeyDlg, CDialog)
  ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
END_MESSAGE_MAP()

TEST(Win32PrintKey, CtrlPSendsThePrintCommandToTheDialog) {
  struct Row {
    bool alt;
    INT_PTR result;
  };
  for (const Row row : {Row{false, PrintKeyDlg::kPrinted}, Row{true, IDCANCEL}}) {
    PrintKeyDlg dialog(row.alt);
    EXPECT_EQ(dialog.DoModal(), row.result) << (row.alt ? "Ctrl+Alt+P" : "Ctrl+P");
    ReleaseKeys();
  }
}

}  // namespace
