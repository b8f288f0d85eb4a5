// The dialog manager on real widgets: tab order, Enter and Escape, mnemonics,
// the close box and system menu, edits, list boxes, and each modal run
// building its window afresh.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QtTest/QTest>
#include <functional>
#include <vector>

#include "app/toolkit/afxwin.h"
#include "app/toolkit/backend.h"
#include "app/toolkit/qt/qt_windows.h"
#include "gtest/gtest-spi.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/scripted_user.h"

namespace {

CWinApp testApp;

// A dialog on any template that records the buttons clicked; OnOK and
// OnCancel are the toolkit's (end with 1 and 2).
class RecordingDlg : public CDialog {
 public:
  explicit RecordingDlg(UINT id) : CDialog(id) {}
  std::vector<int> clicks;
  std::function<void(RecordingDlg&)> onInit;

  BOOL OnInitDialog() override {
    const BOOL result = CDialog::OnInitDialog();
    if (onInit) onInit(*this);
    return result;
  }

 protected:
  void OnNext() { clicks.push_back(IDC_NEXT_RECORD); }
  void OnSave() { clicks.push_back(IDC_SAVE_CHANGES); }
  void OnDelete() { clicks.push_back(IDC_DELETE_RECORD); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingDlg, CDialog)
  ON_BN_CLICKED(IDC_NEXT_RECORD, OnNext)
  ON_BN_CLICKED(IDC_SAVE_CHANGES, OnSave)
  ON_BN_CLICKED(IDC_DELETE_RECORD, OnDelete)
END_MESSAGE_MAP()

using DialogManagerTest = GuiTest;

TEST_F(DialogManagerTest, TabFollowsTemplateOrderSkippingHiddenAndDisabled) {
  RecordingDlg dlg(IDD_KESTREL_DIALOG);
  ScriptedUser user;
  user.Then("walk the tab stops", [&](QWidget* form) {
    EXPECT_EQ(FocusedId(form), IDC_FIRST_NAME) << "first tab stop of the template";
    const std::vector<int> expected = {
        IDC_LAST_NAME, IDC_SEARCH,        IDC_STUDENT_NO, IDC_MIDDLE_NAME1, IDC_MIDDLE_NAME2,
        IDC_GENDER,    IDC_BIRTHDAY,      IDC_PHONE,      IDC_PARENT_NAME,  IDC_PARENT_PHONE,
        IDC_ADDRESS,   IDC_SAVE_AND_EXIT, IDC_CELL_PHONE, IDC_EMAIL,        IDC_CREATE_NEW_RECORD,
        IDCANCEL,      IDC_FIRST_NAME};
    std::vector<int> seen;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      Key(form, Qt::Key_Tab);
      seen.push_back(FocusedId(form));
    }
    EXPECT_EQ(seen, expected);
    Key(form, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(FocusedId(form), IDCANCEL) << "Shift+Tab goes back, wrapping";

    dlg.GetDlgItem(IDC_LAST_NAME)->ShowWindow(SW_HIDE);
    dlg.GetDlgItem(IDC_SEARCH)->EnableWindow(FALSE);
    dlg.GetDlgItem(IDC_FIRST_NAME)->SetFocus();
    Key(form, Qt::Key_Tab);
    EXPECT_EQ(FocusedId(form), IDC_STUDENT_NO) << "hidden and disabled controls are skipped";
    dlg.SendMessage(WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(FocusedId(form), IDC_MIDDLE_NAME1) << "WM_NEXTDLGCTL moves as Tab does";
    Key(form, Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  user.Finish();
}

TEST_F(DialogManagerTest, EnterClicksFocusedButtonElseVisibleEnabledDefault) {
  struct Row {
    const char* name;
    std::function<void(RecordingDlg&)> setUp;
    std::vector<int> clicks;
  } rows[] = {
      {"focused push button",
       [](RecordingDlg& d) { d.GetDlgItem(IDC_SAVE_CHANGES)->SetFocus(); },
       {IDC_SAVE_CHANGES}},
      {"edit, default button shown",
       [](RecordingDlg& d) { d.GetDlgItem(IDC_PHONE)->SetFocus(); },
       {IDC_NEXT_RECORD}},
      {"edit, default button hidden",
       [](RecordingDlg& d) {
         d.GetDlgItem(IDC_NEXT_RECORD)->ShowWindow(SW_HIDE);
         d.GetDlgItem(IDC_PHONE)->SetFocus();
       },
       {}},
      {"edit, default button disabled",
       [](RecordingDlg& d) {
         d.GetDlgItem(IDC_NEXT_RECORD)->EnableWindow(FALSE);
         d.GetDlgItem(IDC_PHONE)->SetFocus();
       },
       {}},
  };
  for (const Row& row : rows) {
    RecordingDlg dlg(IDD_RECORD_DIALOG);
    ScriptedUser user;
    user.Then(row.name, [&](QWidget* window) {
      row.setUp(dlg);
      Key(window, Qt::Key_Return);
      EXPECT_EQ(dlg.clicks, row.clicks) << row.name;
      EXPECT_TRUE(window->isVisible()) << row.name << ": the dialog stays open";
      Key(window, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << row.name;
  }
}

TEST_F(DialogManagerTest, EnterWithoutDefaultButtonSendsOk) {
  RecordingDlg dlg(IDD_KESTREL_DIALOG);
  ScriptedUser user;
  user.Then("Enter in an edit", [](QWidget* form) { Key(form, Qt::Key_Enter); });
  EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(DialogManagerTest, EscapeSendsCancel) {
  RecordingDlg dlg(IDD_MATCH_LIST);
  ScriptedUser user;
  user.Then("Escape", [](QWidget* list) { Key(list, Qt::Key_Escape); });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogManagerTest, MnemonicsClickButtonsWithAltOrOnAButton) {
  RecordingDlg dlg(IDD_RECORD_DIALOG);
  ScriptedUser user;
  user.Then("letters", [&](QWidget* window) {
    auto* next = qobject_cast<QPushButton*>(Control(window, IDC_NEXT_RECORD));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->text(), QStringLiteral("&Next Record")) << "shown with N underlined";
    EXPECT_TRUE(next->shortcut().isEmpty()) << "the dialog manager owns the mnemonic";

    dlg.GetDlgItem(IDC_PHONE)->SetFocus();
    Key(window, Qt::Key_N, Qt::AltModifier);
    Key(window, Qt::Key_S, Qt::AltModifier);
    Key(window, Qt::Key_N);  // typed into the edit
    EXPECT_EQ(Text(window, IDC_PHONE), QStringLiteral("n"));
    dlg.GetDlgItem(IDC_SAVE_CHANGES)->SetFocus();
    Key(window, Qt::Key_D);  // on a button the letter alone is enough
    dlg.GetDlgItem(IDC_NEXT_RECORD)->ShowWindow(SW_HIDE);
    Key(window, Qt::Key_N, Qt::AltModifier);  // hidden: nothing
    EXPECT_EQ(dlg.clicks, (std::vector<int>{IDC_NEXT_RECORD, IDC_SAVE_CHANGES, IDC_DELETE_RECORD}));
    Key(window, Qt::Key_O, Qt::AltModifier);  // "Start &Over" is button 2
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogManagerTest, CloseBoxAndSystemMenuOnlyWithASystemMenu) {
  {
    RecordingDlg form(IDD_KESTREL_DIALOG);
    ScriptedUser user;
    user.Then("close box", [](QWidget* window) {
      EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
      window->close();
    });
    EXPECT_EQ(form.DoModal(), IDCANCEL);
  }
  {
    RecordingDlg form(IDD_KESTREL_DIALOG);
    ScriptedUser user;
    user.Then("right-click the background", [](QWidget* window) { RightClickBackground(window); })
        .Then("the menu: Close", [](QWidget* menu) {
          auto* popup = qobject_cast<QMenu*>(menu);
          ASSERT_NE(popup, nullptr);
          ASSERT_EQ(popup->actions().size(), 1);
          EXPECT_EQ(popup->actions()[0]->text(), QStringLiteral("&Close"));
          QTest::keyClick(popup, Qt::Key_C);
        });
    EXPECT_EQ(form.DoModal(), IDCANCEL);
  }
  {
    RecordingDlg form(IDD_KESTREL_DIALOG);
    ScriptedUser user;
    user.Then("Alt+Space", [](QWidget* window) { Key(window, Qt::Key_Space, Qt::AltModifier); })
        .Then("dismiss the menu", [](QWidget* menu) { QTest::keyClick(menu, Qt::Key_Escape); })
        .Then("the form is still there", [](QWidget* window) {
          EXPECT_EQ(TemplateOf(window), IDD_KESTREL_DIALOG);
          Key(window, Qt::Key_Escape);
        });
    EXPECT_EQ(form.DoModal(), IDCANCEL);
  }
  {
    RecordingDlg record(IDD_RECORD_DIALOG);
    ScriptedUser user;
    user.Then("no close box, no menu", [](QWidget* window) {
      EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint);
      window->close();
      RightClickBackground(window);
      EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
      EXPECT_TRUE(window->isVisible()) << "a close request without a system menu is ignored";
      Key(window, Qt::Key_Escape);
    });
    EXPECT_EQ(record.DoModal(), IDCANCEL);
  }
}

// Binds three edits of the main form's template to strings.
class EditDlg : public CDialog {
 public:
  EditDlg() : CDialog(IDD_KESTREL_DIALOG) {}
  CString first, last, student, middle;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    GetDlgItem(IDC_MIDDLE_NAME1)->SendMessage(EM_LIMITTEXT, 5);
    return TRUE;
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_FIRST_NAME, first);
    DDX_Text(pDX, IDC_LAST_NAME, last);
    DDX_Text(pDX, IDC_STUDENT_NO, student);
    DDX_Text(pDX, IDC_MIDDLE_NAME1, middle);
  }
};

TEST_F(DialogManagerTest, EditsShowWindows1252AsUnicodeAndGiveItBack) {
  EditDlg dlg;
  dlg.last = "M\xFCller \x80";
  ScriptedUser user;
  user.Then("type and paste", [](QWidget* form) {
    EXPECT_EQ(Text(form, IDC_LAST_NAME), QString::fromUtf8("M\xC3\xBCller \xE2\x82\xAC"));
    QTest::keyClicks(Control(form, IDC_LAST_NAME), QStringLiteral("5"));
    Type(form, IDC_FIRST_NAME, QString::fromUtf8("Zo\xC3\xAB \xE6\x97\xA5"));
    QApplication::clipboard()->setText(QStringLiteral("a\tb\r\nc"));
    Focus(form, IDC_STUDENT_NO);
    Key(form, Qt::Key_V, Qt::ControlModifier);
    Type(form, IDC_MIDDLE_NAME1, QStringLiteral("abcdefg"));
    Key(form, Qt::Key_Return);  // no default button: OK saves and ends
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.last,
            "M\xFCller \x80"
            "5");
  EXPECT_EQ(dlg.first, "Zo\xEB ?") << "what the code page cannot hold becomes ?";
  EXPECT_EQ(dlg.student, "a b  c") << "tabs and line breaks become blanks";
  EXPECT_EQ(dlg.middle, "abcde") << "EM_LIMITTEXT";
}

TEST_F(DialogManagerTest, EachRunBuildsTheWindowAfresh) {
  RecordingDlg dlg(IDD_KESTREL_DIALOG);
  {
    ScriptedUser user;
    user.Then("type, leave", [](QWidget* form) {
      Type(form, IDC_FIRST_NAME, QStringLiteral("typed"));
      Key(form, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  }
  EXPECT_EQ(dlg.GetDlgItem(IDC_FIRST_NAME), nullptr) << "no controls once the run is over";
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  ScriptedUser user;
  user.Then("fresh controls", [&](QWidget* form) {
    EXPECT_EQ(Text(form, IDC_FIRST_NAME), QString());
    EXPECT_EQ(dlg.DoModal(), -1) << "a running dialog cannot run twice";
    Key(form, Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

// Within 2 pixels: QRect's centre rounds down, and so does the placement.
void ExpectCentredOn(const QRect& window, const QRect& over, const char* what) {
  EXPECT_LE(std::abs(window.center().x() - over.center().x()), 2) << what;
  EXPECT_LE(std::abs(window.center().y() - over.center().y()), 2) << what;
}

// The main form on the screen's work area, a dialog and a message box on
// the window they belong to; a dialog its init handler moved stays there.
TEST_F(DialogManagerTest, WindowsOpenCentredOnTheirOwnerOrTheScreen) {
  RecordingDlg form(IDD_KESTREL_DIALOG);
  RecordingDlg about(IDD_ABOUTBOX);
  RecordingDlg moved(IDD_ABOUTBOX);
  moved.onInit = [](RecordingDlg& d) { toolkit::backend::MoveWindow(d.GetSafeHwnd(), 3, 4); };
  QRect formRect;
  ScriptedUser user;
  user.Then("the main form", [&](QWidget* window) {
    formRect = window->frameGeometry();
    ExpectCentredOn(formRect, window->screen()->availableGeometry(), "the main form");
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_EQ(AfxMessageBox("Delete current record?", MB_YESNO), IDNO);
    EXPECT_EQ(moved.DoModal(), IDOK);
    toolkit::EndModal(window, IDCANCEL);
  });
  user.Then("the About box", [&](QWidget* window) {
    ExpectCentredOn(window->frameGeometry(), formRect, "the About box");
    toolkit::EndModal(window, IDOK);
  });
  user.Then("the message box", [&](QWidget* window) {
    ExpectCentredOn(window->frameGeometry(), formRect, "the message box");
    toolkit::EndModal(window, IDNO);
  });
  user.Then("the dialog its handler moved", [&](QWidget* window) {
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(3, 4));
    toolkit::EndModal(window, IDOK);
  });
  EXPECT_EQ(form.DoModal(), IDCANCEL);
  user.Finish();
}

TEST_F(DialogManagerTest, EndDialogDuringInitialisationShowsNothing) {
  RecordingDlg dlg(IDD_KESTREL_DIALOG);
  dlg.onInit = [](RecordingDlg& d) { d.EndDialog(1023); };
  ScriptedUser user;  // no steps: any window that opens fails the test
  EXPECT_EQ(dlg.DoModal(), 1023);
  // Error paths follow.
  RecordingDlg missing(4242);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(DialogManagerTest, SetIconGivesTheWindowBothSizes) {
  RecordingDlg dlg(IDD_RECORD_DIALOG);
  dlg.onInit = [](RecordingDlg& d) {
    HICON icon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(d.SetIcon(icon, TRUE), nullptr);
    d.SetIcon(icon, FALSE);
    EXPECT_EQ(d.SetIcon(icon, FALSE), icon) << "returns the icon it replaces";
  };
  ScriptedUser user;
  user.Then("look at the icon", [](QWidget* window) {
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    Key(window, Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(AfxGetApp()->LoadIcon(9999), nullptr);
}

// A dialog that nobody answers must not hang the test run.
int RunUnansweredDialog() {
  RecordingDlg dlg(IDD_MATCH_LIST);
  ScriptedUser user(std::chrono::milliseconds(200));
  user.Then("look, but do not answer", [](QWidget*) {}).Then("never comes", [](QWidget*) {});
  return static_cast<int>(dlg.DoModal());
}

// A window the script did not expect is ended at once.
int RunUnexpectedBox() {
  ScriptedUser user;
  return AfxMessageBox("Unexpected?");
}

TEST_F(DialogManagerTest, ScriptedUserEndsWhatNobodyAnswers) {
  static int result = 0;
  EXPECT_NONFATAL_FAILURE(result = RunUnansweredDialog(), "time limit reached on dialog 130");
  EXPECT_EQ(result, -1);
  EXPECT_NONFATAL_FAILURE(result = RunUnexpectedBox(), "no step is left");
  EXPECT_EQ(result, -1);
}

}  // namespace
