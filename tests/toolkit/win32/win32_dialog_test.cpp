// The Win32 backend's dialogs, run by the system's dialog manager. Each
// dialog does its checks in OnInitDialog and ends there, before it shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/toolkit/accessible_names.h"
#include "app/toolkit/afxwin.h"
#include "app/toolkit/backend.h"
#include "app/toolkit/win32/native.h"
#include "app/toolkit/resource_table.h"
#include "app/toolkit/session_end.h"
#include "res/resource.h"
#include "res/resources.h"
#include "tests/toolkit/win32/window_tree.h"

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

// Looks at a dialog once it shows (its first paint), then ends it.
class ShownProbe : public CDialog {
 public:
  ShownProbe(UINT id, CWnd* parent, std::function<void(ShownProbe&)> probe)
      : CDialog(id, parent), probe_(std::move(probe)) {}
  void OnPaint() {
    if (probed_) return;  // a paint while the probe runs a dialog of its own
    probed_ = true;
    probe_(*this);
    EndDialog(IDOK);
  }

 private:
  std::function<void(ShownProbe&)> probe_;
  bool probed_ = false;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ShownProbe, CDialog)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void ExpectCentredOn(const CRect& window, const CRect& over, const char* what) {
  EXPECT_LE(std::abs((window.left + window.right) - (over.left + over.right)), 2) << what;
  EXPECT_LE(std::abs((window.top + window.bottom) - (over.top + over.bottom)), 2) << what;
}

// Symptom: every dialog opened in the top-left corner of the screen, the
// About box over the main form's title bar.
TEST(Win32Dialog, MainFormCentredOnTheWorkAreaAndDialogsOnTheirOwner) {
  namespace backend = toolkit::backend;
  bool aboutShown = false;
  ShownProbe mainForm(IDD_KESTREL_DIALOG, nullptr, [&](ShownProbe& main) {
    const CRect form = backend::GetWindowRect(main.GetSafeHwnd());
    ExpectCentredOn(form, backend::GetWorkArea(main.GetSafeHwnd()), "the main form");
    ShownProbe about(IDD_ABOUTBOX, &main, [&](ShownProbe& box) {
      aboutShown = true;
      ExpectCentredOn(backend::GetWindowRect(box.GetSafeHwnd()), form, "the About box");
    });
    EXPECT_EQ(about.DoModal(), IDOK);
  });
  EXPECT_EQ(mainForm.DoModal(), IDOK);
  EXPECT_TRUE(aboutShown);
}

TEST(Win32Dialog, EveryTemplateGivesItsControlsTheirNumbersAndTexts) {
  for (const int id : {IDD_ABOUTBOX, IDD_KESTREL_DIALOG, IDD_RECORD_DIALOG, IDD_MATCH_LIST}) {
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
      // The shell dialog font: TrueType, sharp at any scale.
      EXPECT_STREQ(t->fontName, "MS Shell Dlg");
      EXPECT_EQ(t->style & DS_SHELLFONT, DS_SHELLFONT);
      if (*t->caption != '\0') {
        EXPECT_EQ(std::string(d.GetWindowText()), t->caption);
      }
      d.EndDialog(1000 + t->id);
    });
    EXPECT_EQ(dialog.DoModal(), 1000 + id) << "template " << id;
  }
}

// Symptom: a screen reader on Windows named each edit after the label of
// the row above (or nothing), as every template lists its labels after the
// edits. The tab order must not change with it.
TEST(Win32Dialog, EachEditComesJustAfterItsLabelAndTheTabOrderIsTheTemplates) {
  for (const int id : {IDD_KESTREL_DIALOG, IDD_RECORD_DIALOG, IDD_MATCH_LIST}) {
    const DialogTemplate* t = FindDialogTemplate(id);
    ASSERT_NE(t, nullptr);
    ProbeDlg dialog(static_cast<UINT>(id), [t](ProbeDlg& d) {
      std::vector<int> tabStops;
      for (std::size_t i = 0; i < t->controls.size(); ++i) {
        const ControlTemplate& c = t->controls[i];
        if ((c.style & WS_TABSTOP) && (c.style & WS_VISIBLE) && !(c.style & WS_DISABLED)) {
          tabStops.push_back(c.id);
        }
        if (c.kind != ControlKind::kEdit) continue;
        const int label = toolkit::LabelOf(*t, i);
        ASSERT_GE(label, 0) << "template " << t->id << ", edit " << c.id;
        EXPECT_EQ(StaticTextBefore(d.GetDlgItem(c.id)->GetSafeHwnd()),
                  t->controls[static_cast<std::size_t>(label)].text)
            << "template " << t->id << ", edit " << c.id;
      }
      EXPECT_EQ(TabStopIds(d.GetSafeHwnd()), tabStops) << "template " << t->id;
      d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK) << "template " << id;
  }
}

std::vector<std::string> annotatedNames;

// The list box has no label before it: its name ("Matching Records") is put
// on it by dynamic annotation, from the same table as the Qt backend's.
TEST(Win32Dialog, ControlsWithoutALabelAreNamedByAnnotation) {
  const win32::NameAnnotation real = win32::SetNameAnnotation(
      [](win32::Window, std::string_view name) { annotatedNames.emplace_back(name); });
  for (const int id : {IDD_KESTREL_DIALOG, IDD_RECORD_DIALOG, IDD_MATCH_LIST}) {
    const DialogTemplate* t = FindDialogTemplate(id);
    ASSERT_NE(t, nullptr);
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < t->controls.size(); ++i) {
      const ControlKind kind = t->controls[i].kind;
      if (kind == ControlKind::kListBox ||
          (kind == ControlKind::kEdit && toolkit::LabelOf(*t, i) < 0)) {
        expected.push_back(toolkit::AccessibleName(*t, i));
      }
    }
    annotatedNames.clear();
    ProbeDlg dialog(static_cast<UINT>(id), [](ProbeDlg& d) { d.EndDialog(IDOK); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(annotatedNames, expected) << "template " << id;
    if (id == IDD_MATCH_LIST) {
      EXPECT_EQ(annotatedNames, std::vector<std::string>{"Matching Records"});
    }
  }
  win32::SetNameAnnotation(real);
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
