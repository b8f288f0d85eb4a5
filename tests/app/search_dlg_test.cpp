// The main form and the About box, driven through real keys and clicks.
#include "app/search_dlg.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest/QTest>
#include <functional>
#include <string>
#include <vector>

#include "app/toolkit/qt/qt_windows.h"
#include "res/resource.h"
#include "res/resources.h"
#include "tests/support/gui_test.h"
#include "tests/support/scripted_user.h"

namespace {

CWinApp testApp;

using SearchDlgTest = GuiTest;

void OpenSystemMenuAndChoose(ScriptedUser& user, Qt::Key letter) {
  user.Then("form: right-click the background", [](QWidget* form) { RightClickBackground(form); })
      .Then("system menu: choose", [letter](QWidget* menu) { QTest::keyClick(menu, letter); });
}

TEST_F(SearchDlgTest, EachWayOutEndsWithItsCode) {
  struct Row {
    const char* name;
    std::function<void(ScriptedUser&)> script;
    int expected;
  } rows[] = {
      {"Search Database",
       [](ScriptedUser& u) { u.Then("click", [](QWidget* f) { Click(f, IDC_SEARCH); }); },
       CSearchDlg::kSearch},
      {"Alt+S",
       [](ScriptedUser& u) {
         u.Then("key", [](QWidget* f) { Key(f, Qt::Key_S, Qt::AltModifier); });
       },
       CSearchDlg::kSearch},
      {"Create New Record",
       [](ScriptedUser& u) {
         u.Then("click", [](QWidget* f) { Click(f, IDC_CREATE_NEW_RECORD); });
       },
       CSearchDlg::kCreateNewRecord},
      {"Save and Exit, Yes",
       [](ScriptedUser& u) {
         u.Then("click", [](QWidget* f) {
            Click(f, IDC_SAVE_AND_EXIT);
          }).Then("answer Yes", [](QWidget* box) { Click(box, IDYES); });
       },
       CSearchDlg::kSaveAndExit},
      {"Alt+X, Enter",
       [](ScriptedUser& u) {
         u.Then("key", [](QWidget* f) {
            Key(f, Qt::Key_X, Qt::AltModifier);
          }).Then("Enter answers Yes", [](QWidget* box) { Key(box, Qt::Key_Return); });
       },
       CSearchDlg::kSaveAndExit},
      {"Discard and Exit",
       [](ScriptedUser& u) { u.Then("click", [](QWidget* f) { Click(f, IDCANCEL); }); },
       CSearchDlg::kDiscardAndExit},
      {"Escape", [](ScriptedUser& u) { u.Then("key", [](QWidget* f) { Key(f, Qt::Key_Escape); }); },
       CSearchDlg::kDiscardAndExit},
      {"close box", [](ScriptedUser& u) { u.Then("close", [](QWidget* f) { f->close(); }); },
       CSearchDlg::kDiscardAndExit},
      {"system menu Close", [](ScriptedUser& u) { OpenSystemMenuAndChoose(u, Qt::Key_C); },
       CSearchDlg::kDiscardAndExit},
  };
  for (const Row& row : rows) {
    CSearchDlg dlg;
    ScriptedUser user;
    row.script(user);
    EXPECT_EQ(dlg.DoModal(), row.expected) << row.name;
    user.Finish();
  }
}

TEST_F(SearchDlgTest, EnterMovesTheFocusAndNeverEndsTheForm) {
  CSearchDlg dlg;
  ScriptedUser user;
  user.Then("Enter, Enter", [](QWidget* form) {
    EXPECT_EQ(FocusedId(form), IDC_FIRST_NAME);
    Key(form, Qt::Key_Return);
    EXPECT_EQ(FocusedId(form), IDC_LAST_NAME);
    Key(form, Qt::Key_Return);
    EXPECT_EQ(FocusedId(form), IDC_SEARCH);
    Focus(form, IDC_ADDRESS);
    Key(form, Qt::Key_Enter);
    EXPECT_EQ(FocusedId(form), IDC_SAVE_AND_EXIT) << "the next tab stop after Address";
    EXPECT_TRUE(form->isVisible());
    Focus(form, IDC_SEARCH);
    Key(form, Qt::Key_Return);  // a focused button is clicked
  });
  EXPECT_EQ(dlg.DoModal(), CSearchDlg::kSearch);
}

TEST_F(SearchDlgTest, SaveAndExitAnsweredNoKeepsTheTypedTexts) {
  CSearchDlg dlg;
  ScriptedUser user;
  user.Then("type, Save and Exit",
            [](QWidget* form) {
              Type(form, IDC_LAST_NAME, QStringLiteral("Smith"));
              Type(form, IDC_ADDRESS, QStringLiteral("12 Main St"));
              Click(form, IDC_SAVE_AND_EXIT);
            })
      .Then("the question: No",
            [](QWidget* box) {
              EXPECT_EQ(MessageText(box), QStringLiteral("Do you want to save changes (if any)?"));
              EXPECT_EQ(box->windowTitle(), QStringLiteral("app_tests"));
              Key(box, Qt::Key_N);
            })
      .Then("form: texts still there", [](QWidget* form) {
        EXPECT_EQ(TemplateOf(form), IDD_KESTREL_DIALOG);
        EXPECT_EQ(Text(form, IDC_LAST_NAME), QStringLiteral("Smith"));
        EXPECT_EQ(Text(form, IDC_ADDRESS), QStringLiteral("12 Main St"));
        Click(form, IDCANCEL);
      });
  EXPECT_EQ(dlg.DoModal(), CSearchDlg::kDiscardAndExit);
  EXPECT_EQ(dlg.criteria[lastName], "") << "only a search updates the criteria";
}

TEST_F(SearchDlgTest, TextsStayAfterASearchAndGoAfterCreateNewRecord) {
  CSearchDlg dlg;
  {
    ScriptedUser user;
    user.Then("search for smi", [](QWidget* form) {
      Type(form, IDC_LAST_NAME, QStringLiteral("smi"));
      Type(form, IDC_ADDRESS,
           QString::fromUtf8("Stra\xC3\x9F"
                             "e"));
      Click(form, IDC_SEARCH);
    });
    EXPECT_EQ(dlg.DoModal(), CSearchDlg::kSearch);
  }
  EXPECT_EQ(dlg.criteria[lastName], "smi");
  EXPECT_EQ(dlg.criteria[address1],
            "Stra\xDF"
            "e");
  EXPECT_EQ(dlg.criteria[firstName], "");
  {
    ScriptedUser user;
    user.Then("type a first name, create", [](QWidget* form) {
      EXPECT_EQ(Text(form, IDC_LAST_NAME), QStringLiteral("smi"));
      Type(form, IDC_FIRST_NAME, QStringLiteral("Ann"));
      Click(form, IDC_CREATE_NEW_RECORD);
    });
    EXPECT_EQ(dlg.DoModal(), CSearchDlg::kCreateNewRecord);
  }
  EXPECT_EQ(dlg.criteria[firstName], "");
  ScriptedUser user;
  user.Then("the last search's texts again", [](QWidget* form) {
    EXPECT_EQ(Text(form, IDC_LAST_NAME), QStringLiteral("smi"));
    EXPECT_EQ(Text(form, IDC_FIRST_NAME), QString());
    Key(form, Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.DoModal(), CSearchDlg::kDiscardAndExit);
}

TEST_F(SearchDlgTest, AboutBoxFromTheSystemMenuLeavesTheFormAsItWas) {
  CSearchDlg dlg;
  ScriptedUser user;
  user.Then("type, open the system menu",
            [](QWidget* form) {
              Type(form, IDC_FIRST_NAME, QStringLiteral("Ann"));
              RightClickBackground(form);
            })
      .Then("system menu: About",
            [](QWidget* menu) {
              QStringList texts;
              for (const QAction* a : menu->actions())
                texts << (a->isSeparator() ? "-" : a->text());
              EXPECT_EQ(texts, (QStringList{"&Close", "-", "&Print...", "&About Kestrel"}));
              QTest::keyClick(menu, Qt::Key_A);
            })
      .Then("About box",
            [](QWidget* about) {
              EXPECT_EQ(TemplateOf(about), IDD_ABOUTBOX);
              EXPECT_EQ(about->windowTitle(), QStringLiteral("About Kestrel"));
              EXPECT_EQ(FocusedId(about), IDOK);
              const auto labels = about->findChildren<QLabel*>();
              QStringList texts;
              for (const QLabel* l : labels) {
                if (!l->text().isEmpty()) texts << l->text();
                if (!l->pixmap().isNull()) {
                  EXPECT_EQ(l->pixmap().size(), QSize(32, 32));
                }
              }
              EXPECT_TRUE(texts.contains(QStringLiteral("Kestrel Version 1.0")));
              // The notice once named a past year.
              const QString notice = QStringLiteral("\u00A9 %1 The Kestrel authors")
                                         .arg(QDate::currentDate().year());
              EXPECT_TRUE(texts.contains(notice)) << texts.join('|').toStdString();
              Key(about, Qt::Key_Return);
            })
      .Then("form unchanged; About by WM_SYSCOMMAND",
            [&dlg](QWidget* form) {
              EXPECT_EQ(TemplateOf(form), IDD_KESTREL_DIALOG);
              EXPECT_EQ(Text(form, IDC_FIRST_NAME), QStringLiteral("Ann"));
              dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3);  // low four bits are the system's
            })
      .Then("About box again: Escape",
            [](QWidget* about) {
              EXPECT_EQ(TemplateOf(about), IDD_ABOUTBOX);
              Key(about, Qt::Key_Escape);
            })
      .Then("form: leave", [](QWidget* form) { Key(form, Qt::Key_Escape); });
  EXPECT_EQ(dlg.DoModal(), CSearchDlg::kDiscardAndExit);
  EXPECT_EQ(dlg.criteria[firstName], "");
}

// The rows of the form from top to bottom: label text and edit.
struct FormRow {
  const char* label;
  int edit;
};
constexpr FormRow kRows[] = {
    {"Student #:", IDC_STUDENT_NO},
    {"First Name:", IDC_FIRST_NAME},
    {"Last Name:", IDC_LAST_NAME},
    {"Middle Name1:", IDC_MIDDLE_NAME1},
    {"Middle Name2:", IDC_MIDDLE_NAME2},
    {"Gender:", IDC_GENDER},
    {"Birthday:", IDC_BIRTHDAY},
    {"Phone:", IDC_PHONE},
    {"Cell Phone:", IDC_CELL_PHONE},
    {"E-mail:", IDC_EMAIL},
    {"Parent's Name:", IDC_PARENT_NAME},
    {"Parent's Phone:", IDC_PARENT_PHONE},
    {"Address", IDC_ADDRESS},
};

TEST_F(SearchDlgTest, TemplateIsRealisedControlByControl) {
  const DialogTemplate* t = FindDialogTemplate(IDD_KESTREL_DIALOG);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->controls.size(), 32u);
  CSearchDlg dlg;
  ScriptedUser user;
  user.Then("inspect", [&](QWidget* form) {
    auto* window = dynamic_cast<toolkit::DialogWindow*>(form);
    ASSERT_NE(window, nullptr);
    const BaseUnits base = window->Base();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kestrel"));
    EXPECT_EQ(form->size(), QSize(DialogXToPixels(342, base), DialogYToPixels(290, base)));
    EXPECT_TRUE(form->windowIcon().availableSizes().contains(QSize(16, 16)));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    const auto& controls = window->Controls();
    ASSERT_EQ(controls.size(), t->controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ControlTemplate& c = t->controls[i];
      const QWidget* w = controls[i].widget;
      const std::string row =
          "control #" + std::to_string(i + 1) + " (" + std::to_string(c.id) + ")";
      EXPECT_EQ(controls[i].id, c.id) << row;
      EXPECT_EQ(toolkit::WindowTextOf(w), c.text) << row;
      if (c.kind != ControlKind::kIcon) {
        EXPECT_EQ(w->geometry(), QRect(DialogXToPixels(c.x, base), DialogYToPixels(c.y, base),
                                       DialogXToPixels(c.cx, base), DialogYToPixels(c.cy, base)))
            << row;
      }
      if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        EXPECT_FALSE(button->isDefault() && FocusedId(form) != c.id)
            << row << ": no default button";
      }
      // Nothing is clipped: each text fits its box in the dialog font.
      const QString text = toolkit::ToQt(c.text).remove('&');
      const int room = c.kind == ControlKind::kPushButton ? w->width() - 8 : w->width();
      if (c.kind == ControlKind::kLabel || c.kind == ControlKind::kPushButton) {
        EXPECT_LE(QFontMetrics(w->font()).horizontalAdvance(text), room) << row << " is clipped";
      }
    }
    // One column of rows, top to bottom, each label beside its edit.
    int previousY = -1;
    for (const FormRow& r : kRows) {
      const QWidget* edit = Control(form, r.edit);
      ASSERT_NE(edit, nullptr) << r.label;
      const QLabel* label = nullptr;
      for (const QLabel* l : form->findChildren<QLabel*>()) {
        if (l->text() == QString::fromLatin1(r.label)) label = l;
      }
      ASSERT_NE(label, nullptr) << r.label;
      EXPECT_GT(edit->y(), previousY) << r.label;
      EXPECT_LE(std::abs(label->y() - edit->y()), DialogYToPixels(2, base)) << r.label;
      EXPECT_LT(label->geometry().right(), edit->x()) << r.label;
      previousY = edit->y();
    }
    // The first frame holds the rows and the search button; the second the create button.
    const auto box = [form](int id) {
      const QWidget* control = Control(form, id);
      return control ? control->geometry() : QRect();
    };
    QRect searchFrame, createFrame;
    for (const QGroupBox* g : form->findChildren<QGroupBox*>()) {
      (g->title() == QStringLiteral("Search Database") ? searchFrame : createFrame) = g->geometry();
    }
    for (const FormRow& r : kRows) {
      EXPECT_TRUE(searchFrame.contains(box(r.edit))) << r.label;
    }
    EXPECT_TRUE(searchFrame.contains(box(IDC_SEARCH)));
    EXPECT_TRUE(createFrame.contains(box(IDC_CREATE_NEW_RECORD)));
    for (int exit : {IDC_SAVE_AND_EXIT, IDCANCEL}) {
      EXPECT_GT(box(exit).y(), createFrame.bottom()) << exit;
    }
    Key(form, Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.DoModal(), CSearchDlg::kDiscardAndExit);
}

TEST_F(SearchDlgTest, MinimisedFormPaintsItsIconCentred) {
  CSearchDlg dlg;
  ScriptedUser user;
  user.Then("minimise, paint", [&dlg](QWidget* form) {
    const QImage icon = QPixmap(FindIconResource(IDR_MAINFRAME)->images[0].xpm).toImage();
    const int x = (form->width() - 32 + 1) / 2;
    const int y = (form->height() - 32 + 1) / 2;
    const QPoint bookPixel(16, 24);  // the book's blue cover
    const QRgb expected = icon.pixel(bookPixel);
    EXPECT_NE(form->grab().toImage().pixel(QPoint(x, y) + bookPixel), expected) << "not minimised";
    dlg.ShowWindow(SW_MINIMIZE);
    EXPECT_TRUE(dlg.IsIconic());
    // What the window paints itself; the controls stay out of a minimised picture.
    QImage painted(form->size(), QImage::Format_ARGB32);
    form->render(&painted, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    EXPECT_EQ(painted.pixel(QPoint(x, y) + bookPixel), expected);
    EXPECT_EQ(painted.pixel(QPoint(x, y) + QPoint(40, 16)), form->palette().window().color().rgb())
        << "the rest is the erased background";
    dlg.ShowWindow(SW_RESTORE);
    Key(form, Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.DoModal(), CSearchDlg::kDiscardAndExit);
}

// Pictures of the main form (with some texts typed) and the About box for the
// README: build/tests/app/renders/main-form.png and about.png.
TEST_F(SearchDlgTest, RendersTheMainFormAndTheAboutBox) {
  QDir().mkpath(QStringLiteral(KESTREL_RENDER_DIR));
  CSearchDlg dlg;
  dlg.criteria[lastName] = "M\xFCller";
  dlg.criteria[firstName] = "Zo\xEB";
  dlg.criteria[address1] = "12 Main St Springfield";
  ScriptedUser user;
  user.Then("render the form, open About",
            [](QWidget* form) {
              Key(form, Qt::Key_Tab);
              EXPECT_TRUE(form->grab().save(QStringLiteral(KESTREL_RENDER_DIR "/main-form.png")));
              RightClickBackground(form);
            })
      .Then("menu: About", [](QWidget* menu) { QTest::keyClick(menu, Qt::Key_A); })
      .Then("render About",
            [](QWidget* about) {
              EXPECT_TRUE(about->grab().save(QStringLiteral(KESTREL_RENDER_DIR "/about.png")));
              Key(about, Qt::Key_Escape);
            })
      .Then("leave", [](QWidget* form) { Key(form, Qt::Key_Escape); });
  EXPECT_EQ(dlg.DoModal(), CSearchDlg::kDiscardAndExit);
}

}  // namespace
