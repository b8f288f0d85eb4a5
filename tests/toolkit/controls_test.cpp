// List boxes and message boxes on real widgets, and pictures of every template.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest/QTest>
#include <functional>
#include <map>
#include <vector>

#include "app/toolkit/afxwin.h"
#include "app/toolkit/qt/qt_windows.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/scripted_user.h"

namespace {

// A list dialog on template 130: three items, the first selected.
class ListDlg : public CDialog {
 public:
  ListDlg() : CDialog(IDD_MATCH_LIST) {}
  CListBox listBox;
  int chosen = -2;
  std::vector<int> added;
  int outOfRange = 0;

  BOOL OnInitDialog() override {
    UpdateData(FALSE);  // binds listBox
    for (const char* label : {"Adams, Ann: 10", "Zo\xEB, Bo: 2", "Smith, Al: 3"}) {
      added.push_back(listBox.AddString(label));
    }
    outOfRange = listBox.SetCurSel(3);
    listBox.SetCurSel(0);
    return CDialog::OnInitDialog();
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_MATCH_LIST, listBox); }
  void OnDblclk() {
    chosen = listBox.GetCurSel();
    EndDialog(IDOK);
  }
  void OnView() { OnDblclk(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListDlg, CDialog)
  ON_LBN_DBLCLK(IDC_MATCH_LIST, OnDblclk)
  ON_BN_CLICKED(IDC_VIEW_SELECTED, OnView)
END_MESSAGE_MAP()

using ControlsTest = GuiTest;

QListView* ListOf(QWidget* window) {
  return qobject_cast<QListView*>(Control(window, IDC_MATCH_LIST));
}

TEST_F(ControlsTest, ListBoxKeepsOrderAndNotifiesDoubleClicks) {
  ListDlg dlg;
  ScriptedUser user;
  user.Then("double-click the third item", [&](QWidget* window) {
    QListView* list = ListOf(window);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(FocusedId(window), IDC_MATCH_LIST) << "the list is the first tab stop";
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), QString::fromUtf8("Zo\xC3\xAB, Bo: 2"))
        << "added at the end, not sorted";
    EXPECT_EQ(dlg.listBox.GetCurSel(), 0);
    EXPECT_EQ(dlg.listBox.GetCount(), 3);
    const QPoint at = list->visualRect(list->model()->index(2, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.chosen, 2);
  EXPECT_EQ(dlg.added, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(dlg.outOfRange, LB_ERR);
  // Error paths follow: a list box whose window has gone answers LB_ERR.
  EXPECT_EQ(dlg.listBox.GetSafeHwnd(), nullptr);
  EXPECT_EQ(dlg.listBox.GetCurSel(), LB_ERR);
  EXPECT_EQ(dlg.listBox.AddString("x"), LB_ERR);
}

// Regression: a click below the rows, Ctrl+click on the selected row or
// Ctrl+Space left no row selected, and "&View Selected" then chose nothing.
TEST_F(ControlsTest, ListBoxSelectionCannotBeCleared) {
  ListDlg dlg;
  ScriptedUser user;
  user.Then("try to clear the selection, then view", [&](QWidget* window) {
    QListView* list = ListOf(window);
    ASSERT_NE(list, nullptr);
    const QPoint selected = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(selected.x(), list->viewport()->height() - 3));
    EXPECT_EQ(dlg.listBox.GetCurSel(), 0) << "click below the rows";
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, selected);
    EXPECT_EQ(dlg.listBox.GetCurSel(), 0) << "Ctrl+click on the selected row";
    Key(window, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(dlg.listBox.GetCurSel(), 0) << "Ctrl+Space";
    Key(window, Qt::Key_Down);
    EXPECT_EQ(dlg.listBox.GetCurSel(), 1) << "the arrows still move it";
    Click(window, IDC_VIEW_SELECTED);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.chosen, 1);
}

TEST_F(ControlsTest, EnterInTheListClicksTheDefaultButton) {
  ListDlg dlg;
  ScriptedUser user;
  user.Then("Down, Enter", [](QWidget* window) {
    Key(window, Qt::Key_Down);
    Key(window, Qt::Key_Return);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.chosen, 1);
}

TEST_F(ControlsTest, MessageBoxesAnswerWithTheirButtonIds) {
  struct Row {
    const char* name;
    UINT type;
    std::function<void(QWidget*)> answer;
    int expected;
  } rows[] = {
      {"Yes/No, Enter", MB_YESNO, [](QWidget* b) { Key(b, Qt::Key_Return); }, IDYES},
      {"Yes/No, N", MB_YESNO, [](QWidget* b) { Key(b, Qt::Key_N); }, IDNO},
      {"Yes/No, Alt+Y", MB_YESNO, [](QWidget* b) { Key(b, Qt::Key_Y, Qt::AltModifier); }, IDYES},
      {"Yes/No, Alt+N", MB_YESNO, [](QWidget* b) { Key(b, Qt::Key_N, Qt::AltModifier); }, IDNO},
      {"Yes/No, click No", MB_YESNO, [](QWidget* b) { Click(b, IDNO); }, IDNO},
      {"Yes/No/Cancel, Escape", MB_YESNOCANCEL, [](QWidget* b) { Key(b, Qt::Key_Escape); },
       IDCANCEL},
      {"Yes/No/Cancel, close box", MB_YESNOCANCEL, [](QWidget* b) { b->close(); }, IDCANCEL},
      {"Yes/No/Cancel, N", MB_YESNOCANCEL, [](QWidget* b) { Key(b, Qt::Key_N); }, IDNO},
      {"OK, Escape", MB_OK | MB_ICONINFORMATION, [](QWidget* b) { Key(b, Qt::Key_Escape); }, IDOK},
      {"OK, Enter", MB_OK, [](QWidget* b) { Key(b, Qt::Key_Enter); }, IDOK},
  };
  for (const Row& row : rows) {
    ScriptedUser user;
    user.Then(row.name, row.answer);
    EXPECT_EQ(AfxMessageBox("Question?", row.type), row.expected) << row.name;
  }
}

TEST_F(ControlsTest, YesNoBoxCanOnlyBeAnswered) {
  ScriptedUser user;
  user.Then("Escape and close do nothing", [](QWidget* box) {
    EXPECT_EQ(TemplateOf(box), 0);
    EXPECT_EQ(MessageText(box), QStringLiteral("Do you want to save changes (if any)?"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("toolkit_tests")) << "the executable's name";
    EXPECT_EQ(Text(box, IDYES), QStringLiteral("&Yes"));
    EXPECT_EQ(Text(box, IDNO), QStringLiteral("&No"));
    EXPECT_EQ(FocusedId(box), IDYES) << "Yes is the default";
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("messageIcon")), nullptr);
    Key(box, Qt::Key_Escape);
    box->close();
    EXPECT_TRUE(box->isVisible());
    Key(box, Qt::Key_Y);
  });
  EXPECT_EQ(AfxMessageBox("Do you want to save changes (if any)?", MB_YESNO), IDYES);
}

TEST_F(ControlsTest, InformationBoxHasItsCaptionIconAndOk) {
  CDialog owner(IDD_ABOUTBOX);
  int answer = 0;
  QWidget* ownerWindow = nullptr;
  ScriptedUser user;
  user.Then("About box: ask",
            [&](QWidget* about) {
              ownerWindow = about;
              answer = owner.MessageBox("Your search did not return any result.  Please try again",
                                        "No Result", MB_ICONINFORMATION);
            })
      .Then("the box",
            [&](QWidget* box) {
              EXPECT_EQ(box->windowTitle(), QStringLiteral("No Result"));
              const auto* icon = box->findChild<QLabel*>(QStringLiteral("messageIcon"));
              ASSERT_NE(icon, nullptr);
              EXPECT_EQ(icon->property("kestrelIcon").toString(), QStringLiteral("information"));
              EXPECT_EQ(Text(box, IDOK), QStringLiteral("OK"));
              EXPECT_EQ(box->parentWidget(), ownerWindow)
                  << "owned by the window it was asked from";
              Click(box, IDOK);
            })
      .Then("About box: leave", [](QWidget* about) { Key(about, Qt::Key_Escape); });
  EXPECT_EQ(owner.DoModal(), IDCANCEL);
  EXPECT_EQ(answer, IDOK);
}

QString AccessibleName(QWidget* widget) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face ? face->text(QAccessible::Name) : QStringLiteral("<no accessible interface>");
}

// Regression: a screen reader read the thirteen edits out by their values,
// never as "First Name", since they had no name.
TEST_F(ControlsTest, ScreenReadersHearEveryControlByName) {
  const std::map<int, QString> edits = {
      {IDC_STUDENT_NO, "Student #"},        {IDC_LAST_NAME, "Last Name"},
      {IDC_FIRST_NAME, "First Name"},       {IDC_MIDDLE_NAME1, "Middle Name1"},
      {IDC_MIDDLE_NAME2, "Middle Name2"},   {IDC_GENDER, "Gender"},
      {IDC_BIRTHDAY, "Birthday"},           {IDC_PHONE, "Phone"},
      {IDC_EMAIL, "E-mail"},                {IDC_CELL_PHONE, "Cell Phone"},
      {IDC_PARENT_NAME, "Parent's Name"},   {IDC_PARENT_PHONE, "Parent's Phone"},
      {IDC_ADDRESS, "Address"}};
  for (int id : {IDD_KESTREL_DIALOG, IDD_RECORD_DIALOG, IDD_MATCH_LIST}) {
    CDialog dlg(static_cast<UINT>(id));
    ScriptedUser user;
    user.Then("listen", [&](QWidget* window) {
      auto* dialog = dynamic_cast<toolkit::DialogWindow*>(window);
      ASSERT_NE(dialog, nullptr);
      for (const toolkit::DialogWindow::Control& c : dialog->Controls()) {
        const QString name = AccessibleName(c.widget);
        const QString text = toolkit::ToQt(toolkit::WindowTextOf(c.widget));
        const std::string row = "dialog " + std::to_string(id) + ", control " + std::to_string(c.id);
        switch (c.kind) {
          case ControlKind::kEdit:
            EXPECT_EQ(name, edits.at(c.id)) << row;
            break;
          case ControlKind::kListBox:
            EXPECT_EQ(name, QStringLiteral("Matching Records")) << row;
            break;
          default:
            EXPECT_EQ(name, QString(text).remove('&')) << row;
        }
      }
      toolkit::EndModal(window, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << id;
  }
  ScriptedUser user;
  user.Then("a message box", [](QWidget* box) {
    auto* label = box->findChild<QLabel*>(QStringLiteral("messageText"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(AccessibleName(label), QStringLiteral("Fish & Chips?")) << "every & as written";
    if (QWidget* yes = Control(box, IDYES)) {
      EXPECT_EQ(AccessibleName(yes), QStringLiteral("Yes"));
    }
    Key(box, Qt::Key_N);
  });
  EXPECT_EQ(AfxMessageBox("Fish & Chips?", MB_YESNO), IDNO);
}

// The dialogs follow the desktop's font: at 9, 12 and 18 points (12, 16 and
// 24 pixels) every window grows with it and no label or button text is cut.
TEST_F(ControlsTest, EveryTextFitsItsBoxAtThreeDesktopFontSizes) {
  const auto restore = qScopeGuard([] { toolkit::SetDesktopFontPixels(12); });
  QDir().mkpath(QStringLiteral(KESTREL_RENDER_DIR));
  std::map<int, int> widthAt12;
  for (int pixels : {12, 16, 24}) {
    toolkit::SetDesktopFontPixels(pixels);
    for (int id : {IDD_KESTREL_DIALOG, IDD_ABOUTBOX, IDD_RECORD_DIALOG, IDD_MATCH_LIST, IDD_PRINT}) {
      CDialog dlg(static_cast<UINT>(id));
      ScriptedUser user;
      user.Then("measure", [&](QWidget* window) {
        auto* dialog = dynamic_cast<toolkit::DialogWindow*>(window);
        ASSERT_NE(dialog, nullptr);
        const std::string at = std::to_string(pixels) + " px, dialog " + std::to_string(id);
        // The window grows as its font does (11 pixels on a 12-pixel desktop).
        if (pixels == 12) widthAt12[id] = window->width();
        const double grown = widthAt12[id] * window->font().pixelSize() / 11.0;
        EXPECT_NEAR(window->width(), grown, grown * 0.08) << at;
        EXPECT_GT(window->font().pixelSize(), pixels / 2) << at;
        for (const toolkit::DialogWindow::Control& c : dialog->Controls()) {
          if (c.kind != ControlKind::kLabel && c.kind != ControlKind::kPushButton) continue;
          const QString text = toolkit::ToQt(toolkit::WindowTextOf(c.widget)).remove('&');
          const QFontMetrics metrics(c.widget->font());
          const int room = c.widget->width() - (c.kind == ControlKind::kPushButton ? 8 : 0);
          EXPECT_LE(metrics.horizontalAdvance(text), room) << at << ": " << text.toStdString();
          EXPECT_LE(metrics.height(), c.widget->height()) << at << ": " << text.toStdString();
        }
        window->grab().save(QStringLiteral(KESTREL_RENDER_DIR "/desktop-%1px-template-%2.png")
                                .arg(pixels)
                                .arg(id));
        toolkit::EndModal(window, IDCANCEL);
      });
      EXPECT_EQ(dlg.DoModal(), IDCANCEL) << id;
    }
  }
}

// Saves a picture of each template, as the toolkit builds it, for a person to
// look at: build/tests/toolkit/renders/template-<id>.png.
TEST_F(ControlsTest, RendersEveryTemplate) {
  QDir().mkpath(QStringLiteral(KESTREL_RENDER_DIR));
  for (int id : {IDD_KESTREL_DIALOG, IDD_ABOUTBOX, IDD_RECORD_DIALOG, IDD_MATCH_LIST, IDD_PRINT}) {
    CDialog dlg(static_cast<UINT>(id));
    ScriptedUser user;
    user.Then("render", [id](QWidget* window) {
      const QString path = QStringLiteral(KESTREL_RENDER_DIR "/template-%1.png").arg(id);
      EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
      toolkit::EndModal(window, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << id;
  }
}

}  // namespace
