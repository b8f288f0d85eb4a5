// The Win32 backend's dialogs, run by the system's dialog manager. Each
// dialog does its checks in OnInitDialog and ends there, before it shows.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/toolkit/afxwin.h"
#include "app/toolkit/resource_table.h"
#include "app/toolkit/session_end.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

const bool kResources = (AfxSetResources(ProgramResources()), true);

class ProbeDlg : public CDialog {
 public:
  ProbeDlg(UINT id, std::function<void(ProbeDlg&)> probe)
      : CDialog(id), id_(id), probe_(std::move(probe)) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    probe_(*this);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_LAST_NAME, text);
    if (id_ == IDD_MATCH_LIST) DDX_Control(pDX, IDC_MATCH_LIST, list);
  }
  void OnViewSelected() { EndDialog(IDC_VIEW_SELECTED); }

  CString text;
  CListBox list;

 private:
  UINT id_;
  std::function<void(ProbeDlg&)> probe_;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeDlg, CDialog)
  ON_BN_CLICKED(IDC_VIEW_SELECTED, OnViewSelected)
END_MESSAGE_MAP()

TEST(Win32Dialog, EveryTemplateGivesItsControlsTheirNumbersAndTexts) {
  for (const int id : {IDD_ABOUTBOX, IDD_KESTREL_DIALOG, IDD_RECORD_DIALOG, IDD_MATCH_LIST, IDD_PRINT}) {
    const DialogTemplate* t = FindDialogTemplate(id);
    ASSERT_NE(t, nullptr);
    ProbeDlg dialog(static_cast<UINT>(id), [t](ProbeDlg& d) {
      for (const ControlTemplate& c : t->controls) {
        if (c.id == IDC_STATIC) continue;
        CWnd* control = d.GetDlgItem(c.id);
        ASSERT_NE(control, nullptr) << "template " << t->id << ", control " << c.id;
        if (c.kind == ControlKind::kPushButton) {
          EXPECT_EQ(std::string(control->GetWindowText()), c.text) << "control " << c.id;
        }
      }
      if (*t->caption != '\0') {
        EXPECT_EQ(std::string(d.GetWindowText()), t->caption);
      }
      d.EndDialog(1000 + t->id);
    });
    EXPECT_EQ(dialog.DoModal(), 1000 + id) << "template " << id;
  }
}

TEST(Win32Dialog, EditsHoldEveryByteOfTheCodePage) {
  std::string all;
  for (int b = 0x20; b <= 0xFF; ++b) all.push_back(static_cast<char>(b));
  ProbeDlg dialog(IDD_RECORD_DIALOG, [&all](ProbeDlg& d) {
    d.text = "";
    d.UpdateData(TRUE);
    EXPECT_EQ(std::string(d.text), all);
    d.EndDialog(IDOK);
  });
  dialog.text = all.c_str();
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

// The list box is bound afresh in each run: a binding kept from the first
// run would point at a window that is gone.
TEST(Win32Dialog, ListBoxKeepsOrderAndSelectionInEveryRun) {
  for (int run = 0; run < 2; ++run) {
    ProbeDlg dialog(IDD_MATCH_LIST, [](ProbeDlg& d) {
      EXPECT_EQ(d.list.AddString("Zeta"), 0);
      EXPECT_EQ(d.list.AddString("\xC9mile"), 1);  // never sorted
      EXPECT_EQ(d.list.GetCount(), 2);
      EXPECT_EQ(d.list.GetCurSel(), LB_ERR);
      EXPECT_EQ(d.list.SetCurSel(1), 1);
      EXPECT_EQ(d.list.GetCurSel(), 1);
      EXPECT_EQ(d.list.SetCurSel(5), LB_ERR);
      // A click of "&View Selected" reaches the handler through the message map.
      d.SendMessage(WM_COMMAND, (BN_CLICKED << 16) | IDC_VIEW_SELECTED, 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDC_VIEW_SELECTED) << "run " << run;
  }
}

// Symptom: a logout on Windows closed the forms as if the user had chosen
// "Discard and Exit", and the journal of the session's changes was removed.
TEST(Win32Dialog, EndOfSessionIsNotedAndCalledOffAgain) {
  constexpr UINT kQueryEndSession = 0x0011;  // WM_QUERYENDSESSION
  constexpr UINT kEndSession = 0x0016;       // WM_ENDSESSION
  ProbeDlg dialog(IDD_KESTREL_DIALOG, [&](ProbeDlg& d) {
    EXPECT_NE(d.SendMessage(kQueryEndSession, 0, 0), 0) << "the logout must be let through";
    EXPECT_TRUE(AfxSessionEnding());
    d.SendMessage(kEndSession, FALSE, 0);
    EXPECT_FALSE(AfxSessionEnding());
    d.EndDialog(IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

}  // namespace
