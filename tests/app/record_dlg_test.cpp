// The record dialog on its own: captions and buttons by mode, saving through
// the master link, deleting, the questions on leaving a new record, and the
// limits of its edits.
#include "app/record_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QtTest/QTest>
#include <functional>

#include "app/record_fields.h"
#include "app/toolkit/qt/qt_windows.h"
#include "res/resource.h"
#include "tests/app/app_test_support.h"
#include "tests/search/record_maker.h"
#include "tools/book_generator.h"

namespace {

constexpr int kButtons[] = {IDCANCEL, IDC_DELETE_RECORD, IDC_SAVE_CHANGES, IDOK, IDC_NEXT_RECORD};

class RecordDlgTest : public GuiTest {
 protected:
  // A book record and its copy in the matches, linked as a search links them.
  void Link(const StudentRecord& r) {
    book_ = r;
    copy_ = r;
    copy_.master = &book_;
  }
  // Runs the dialog on the copy as match `position` of `count`.
  INT_PTR Browse(int position, int count) {
    dlg_.SetRecord(&copy_);
    dlg_.position = position;
    dlg_.count = count;
    return dlg_.DoModal();
  }
  // Runs the dialog as the create-a-record command does.
  INT_PTR New() {
    Clear(fresh_);
    fresh_.master = &fresh_;
    dlg_.SetRecord(&fresh_);
    dlg_.position = 0;
    dlg_.count = 1;
    return dlg_.DoModal();
  }

  CWinApp app_;  // the icon comes from the running program's resources
  CRecordDlg dlg_;
  StudentRecord book_, copy_, fresh_;
};

TEST_F(RecordDlgTest, CaptionButtonsAndFocusByMode) {
  struct Row {
    const char* name;
    int position, count;
    const char* caption;
    std::vector<int> shown;
    int focus;
  } rows[] = {
      {"new record", 0, 1, "New Record", {IDCANCEL, IDC_SAVE_CHANGES}, IDC_SAVE_CHANGES},
      {"one match", 1, 1, "Matching Record 1 of 1", {IDCANCEL, IDC_DELETE_RECORD, IDC_SAVE_CHANGES},
       IDC_SAVE_CHANGES},
      {"3 of 7", 3, 7, "Matching Record 3 of 7",
       {IDCANCEL, IDC_DELETE_RECORD, IDC_SAVE_CHANGES, IDOK, IDC_NEXT_RECORD}, IDC_NEXT_RECORD},
  };
  for (const Row& row : rows) {
    Link(Person("Smith", "Anna", "555-0101"));
    ScriptedUser user;
    user.Then("inspect", [&row](QWidget* dlg) {
      EXPECT_EQ(TemplateOf(dlg), IDD_RECORD_DIALOG) << row.name;
      EXPECT_EQ(dlg->windowTitle(), QString::fromLatin1(row.caption)) << row.name;
      for (int id : kButtons) {
        const bool shown = std::find(row.shown.begin(), row.shown.end(), id) != row.shown.end();
        const QWidget* button = Control(dlg, id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(!button->isHidden(), shown) << row.name << ": button " << id;
        EXPECT_EQ(button->isEnabled(), shown) << row.name << ": button " << id;
      }
      EXPECT_EQ(FocusedId(dlg), row.focus) << row.name;
      EXPECT_FALSE(dlg->windowIcon().isNull()) << row.name;
      EXPECT_EQ(Text(dlg, IDC_ADDRESS), QString()) << row.name << ": an empty address shows empty";
      Key(dlg, Qt::Key_Escape);
    });
    if (row.position == 0) {
      user.Then("Save and exit? No", [](QWidget* box) { Click(box, IDNO); });
      EXPECT_EQ(New(), CRecordDlg::kStartOver) << row.name;
    } else {
      EXPECT_EQ(Browse(row.position, row.count), CRecordDlg::kStartOver) << row.name;
    }
    user.Finish();
  }
}

TEST_F(RecordDlgTest, SaveChangesWritesTheCopyAndTheBookAndJoinsTheAddress) {
  Link(MakeRecord({{lastName, "Smith"}, {firstName, "Anna"}, {phone, "555-0101"}, {address1, "Elm"},
                   {address2, "Apt4"}, {address4, "Springfield"}}));
  ScriptedUser user;
  user.Then("edit, save, leave", [](QWidget* dlg) {
    EXPECT_EQ(Text(dlg, IDC_ADDRESS), QStringLiteral("Elm Apt4 Springfield"));
    Type(dlg, IDC_LAST_NAME, QStringLiteral("Smythe"));
    Type(dlg, IDC_EMAIL, QStringLiteral("anna@school.example"));
    Click(dlg, IDC_SAVE_CHANGES);
    EXPECT_TRUE(dlg->isVisible()) << "saving does not end the dialog";
    Click(dlg, IDCANCEL);
  });
  EXPECT_EQ(Browse(2, 3), CRecordDlg::kStartOver);
  std::vector<std::string> expected(17);
  expected[lastName] = "Smythe";
  expected[firstName] = "Anna";
  expected[phone] = "555-0101";
  expected[email] = "anna@school.example";
  expected[address1] = "Elm Apt4 Springfield";
  EXPECT_EQ(Fields(copy_), expected);
  EXPECT_EQ(Fields(book_), expected);
  EXPECT_EQ(copy_.master, &book_);
}

TEST_F(RecordDlgTest, EditsNotSavedAreDroppedOnStartOver) {
  Link(Person("Smith", "Anna"));
  ScriptedUser user;
  user.Then("edit, leave", [](QWidget* dlg) {
    Type(dlg, IDC_LAST_NAME, QStringLiteral("Jones"));
    Click(dlg, IDCANCEL);
  });
  EXPECT_EQ(Browse(1, 2), CRecordDlg::kStartOver);
  EXPECT_STREQ(book_.field(lastName), "Smith");
  EXPECT_STREQ(copy_.field(lastName), "Smith");
}

// Regression: declining "Create a record with no name?" used to leave the
// record and its book record deleted.
TEST_F(RecordDlgTest, NoNameQuestionIsAskedBeforeAnythingChanges) {
  for (const bool answerYes : {false, true}) {
    Link(MakeRecord({{lastName, "Smith"}, {firstName, "Anna"}, {phone, "555-0101"}}));
    ScriptedUser user;
    user.Then("erase both names, save", [](QWidget* dlg) {
          Erase(dlg, IDC_LAST_NAME);
          Erase(dlg, IDC_FIRST_NAME);
          Click(dlg, IDC_SAVE_CHANGES);
        })
        .Then("the question", [answerYes](QWidget* box) {
          EXPECT_EQ(MessageText(box), QStringLiteral("Create a record with no name?"));
          EXPECT_EQ(toolkit::FindControl(box, IDCANCEL), nullptr) << "Yes and No only";
          Click(box, answerYes ? IDYES : IDNO);
        })
        .Then("still open with the typed texts", [](QWidget* dlg) {
          EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QString());
          EXPECT_EQ(Text(dlg, IDC_PHONE), QStringLiteral("555-0101"));
          Click(dlg, IDCANCEL);
        });
    EXPECT_EQ(Browse(1, 1), CRecordDlg::kStartOver);
    user.Finish();
    const char* expectedLast = answerYes ? "" : "Smith";
    EXPECT_STREQ(book_.field(lastName), expectedLast) << "answer Yes: " << answerYes;
    EXPECT_STREQ(copy_.field(lastName), expectedLast) << "answer Yes: " << answerYes;
    EXPECT_STREQ(book_.field(phone), "555-0101") << "answer Yes: " << answerYes;
  }
}

TEST_F(RecordDlgTest, DeleteAskedYesEmptiesBothAndMovesOnNoChangesNothing) {
  Link(Person("Smith", "Anna", "555-0101"));
  {
    ScriptedUser user;
    user.Then("delete", [](QWidget* dlg) { Click(dlg, IDC_DELETE_RECORD); })
        .Then("No", [](QWidget* box) {
          EXPECT_EQ(MessageText(box), QStringLiteral("Delete current record?"));
          Click(box, IDNO);
        })
        .Then("still open: leave", [](QWidget* dlg) { Key(dlg, Qt::Key_Escape); });
    EXPECT_EQ(Browse(1, 2), CRecordDlg::kStartOver);
  }
  EXPECT_FALSE(IsEmpty(book_));
  ScriptedUser user;
  user.Then("delete", [](QWidget* dlg) { Key(dlg, Qt::Key_D, Qt::AltModifier); })
      .Then("Yes", [](QWidget* box) { Click(box, IDYES); });
  EXPECT_EQ(Browse(1, 2), CRecordDlg::kNextRecord);
  EXPECT_TRUE(IsEmpty(book_));
  EXPECT_TRUE(IsEmpty(copy_));
}

TEST_F(RecordDlgTest, LeavingANewRecordAsksSaveAndExit) {
  struct Row {
    const char* name;
    bool escape;  // else the "Start &Over" button
    int answer;
    bool saved;
  } rows[] = {
      {"Start Over, Yes", false, IDYES, true},
      {"Start Over, No", false, IDNO, false},
      {"Escape, Yes", true, IDYES, true},
      {"Escape, No", true, IDNO, false},
  };
  for (const Row& row : rows) {
    ScriptedUser user;
    user.Then("type a name, leave", [&row](QWidget* dlg) {
          Type(dlg, IDC_LAST_NAME, QStringLiteral("Nguyen"));
          row.escape ? Key(dlg, Qt::Key_Escape) : Click(dlg, IDCANCEL);
        })
        .Then("first Cancel", [](QWidget* box) {
          EXPECT_EQ(MessageText(box), QStringLiteral("Save and exit?"));
          Click(box, IDCANCEL);
        })
        .Then("still open, edits kept: leave again", [&row](QWidget* dlg) {
          EXPECT_EQ(TemplateOf(dlg), IDD_RECORD_DIALOG);
          EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QStringLiteral("Nguyen")) << row.name;
          row.escape ? Key(dlg, Qt::Key_Escape) : Click(dlg, IDCANCEL);
        })
        .Then("answer", [&row](QWidget* box) { Click(box, row.answer); });
    EXPECT_EQ(New(), CRecordDlg::kStartOver) << row.name;
    user.Finish();
    EXPECT_STREQ(fresh_.field(lastName), row.saved ? "Nguyen" : "") << row.name;
    EXPECT_EQ(IsEmpty(fresh_), !row.saved) << row.name;
  }
}

TEST_F(RecordDlgTest, SavedNewRecordStaysSavedWhenLeftWithNo) {
  ScriptedUser user;
  user.Then("type, save, leave", [](QWidget* dlg) {
        Type(dlg, IDC_FIRST_NAME, QString::fromUtf8("Ren\xC3\xA9"));
        Key(dlg, Qt::Key_S, Qt::AltModifier);
        Type(dlg, IDC_FIRST_NAME, QStringLiteral("Typed after saving"));
        Key(dlg, Qt::Key_O, Qt::AltModifier);
      })
      .Then("No", [](QWidget* box) { Key(box, Qt::Key_N); });
  EXPECT_EQ(New(), CRecordDlg::kStartOver);
  EXPECT_STREQ(fresh_.field(firstName), "Ren\xE9");
}

TEST_F(RecordDlgTest, EnterClicksNextRecordOnlyWhileItIsShown) {
  Link(Person("Smith", "Anna"));
  {
    ScriptedUser user;
    user.Then("Enter in an edit", [](QWidget* dlg) {
      Focus(dlg, IDC_PHONE);
      Key(dlg, Qt::Key_Return);
    });
    EXPECT_EQ(Browse(1, 2), CRecordDlg::kNextRecord);
  }
  {
    ScriptedUser user;
    user.Then("View Matching List", [](QWidget* dlg) { Key(dlg, Qt::Key_V, Qt::AltModifier); });
    EXPECT_EQ(Browse(1, 2), CRecordDlg::kViewMatchingList);
  }
  ScriptedUser user;
  user.Then("Enter does nothing; OK moves the focus", [this](QWidget* dlg) {
        Focus(dlg, IDC_PHONE);
        Key(dlg, Qt::Key_Return);
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(FocusedId(dlg), IDC_PHONE);
        dlg_.SendMessage(WM_COMMAND, IDOK);
        EXPECT_EQ(FocusedId(dlg), IDC_PARENT_NAME) << "the next tab stop in template order";
        Click(dlg, IDCANCEL);
      })
      .Then("No", [](QWidget* box) { Click(box, IDNO); });
  EXPECT_EQ(New(), CRecordDlg::kStartOver);
}

// Regression: a pasted tab or line break split the record's line in the
// file, and text past 99 characters was cut without a sign.
TEST_F(RecordDlgTest, EditsHold99CharactersOnOneLine) {
  QApplication::clipboard()->setText(QStringLiteral("12\tMain St\nSpringfield"));
  const QString long120(120, QLatin1Char('w'));
  ScriptedUser user;
  user.Then("type and paste", [&long120](QWidget* dlg) {
        for (int id : {IDC_STUDENT_NO, IDC_LAST_NAME, IDC_PARENT_PHONE}) {
          Type(dlg, id, long120);
          EXPECT_EQ(Text(dlg, id).size(), 99) << "edit " << id;
        }
        Focus(dlg, IDC_ADDRESS);
        Key(dlg, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Text(dlg, IDC_ADDRESS), QStringLiteral("12 Main St Springfield"));
        Type(dlg, IDC_CELL_PHONE, QString());
        Key(dlg, Qt::Key_V, Qt::ControlModifier);
        Click(dlg, IDC_SAVE_CHANGES);
        Click(dlg, IDCANCEL);
      })
      .Then("No", [](QWidget* box) { Click(box, IDNO); });
  EXPECT_EQ(New(), CRecordDlg::kStartOver);
  EXPECT_EQ(std::string(fresh_.field(lastName)), std::string(99, 'w'));
  EXPECT_EQ(std::string(fresh_.field(parentPhone)), std::string(99, 'w'));
  EXPECT_STREQ(fresh_.field(cellPhone), "12 Main St Springfield");
  EXPECT_STREQ(fresh_.field(address1), "12 Main St Springfield");
}

// Regression: every show-and-save added four blanks to the address, and an
// untouched empty address became four blanks.
TEST_F(RecordDlgTest, ShowingAndSavingLeavesTheAddressAsItWas) {
  Link(MakeRecord({{lastName, "Smith"}, {address1, "12 Main St"}, {address3, "Springfield"}}));
  for (int round = 1; round <= 3; ++round) {
    ScriptedUser user;
    user.Then("save untouched", [](QWidget* dlg) {
      Click(dlg, IDC_SAVE_CHANGES);
      Click(dlg, IDCANCEL);
    });
    EXPECT_EQ(Browse(1, 1), CRecordDlg::kStartOver);
    EXPECT_STREQ(book_.field(address1), "12 Main St Springfield") << "round " << round;
    EXPECT_STREQ(book_.field(address3), "") << "round " << round;
  }
  ScriptedUser user;
  user.Then("a name only", [](QWidget* dlg) {
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Lee"));
        Key(dlg, Qt::Key_Escape);
      })
      .Then("Yes", [](QWidget* box) { Click(box, IDYES); });
  EXPECT_EQ(New(), CRecordDlg::kStartOver);
  std::vector<std::string> expected(17);
  expected[lastName] = "Lee";
  EXPECT_EQ(Fields(fresh_), expected) << "no blanks in the address";
}

// The Address edit takes what five parts hold with a blank between each:
// 5 * 99 + 4 = 499 characters, and not one more. Regression: it took lines
// of 496 to 499 characters that "&Save Changes" then refused; now it keeps
// only lines that the five parts can hold, and every one of them is stored.
TEST_F(RecordDlgTest, AddressEditHoldsOnlyWhatFiveMayStore) {
  std::string words;
  for (const char c : std::string("abcde")) words += std::string(99, c) + ' ';
  ScriptedUser user;
  user.Then("paste too much, then a line five parts cannot hold", [&words](QWidget* dlg) {
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Lee"));
        Focus(dlg, IDC_ADDRESS);
        QApplication::clipboard()->setText(QString::fromLatin1(words + "more"));
        Key(dlg, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Text(dlg, IDC_ADDRESS).toStdString(), words.substr(0, 499)) << "cut at 499";
        QApplication::clipboard()->setText(QString(499, QLatin1Char('x')));
        Key(dlg, Qt::Key_A, Qt::ControlModifier);
        Key(dlg, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Text(dlg, IDC_ADDRESS).toStdString(), words.substr(0, 499)) << "not taken";
        Click(dlg, IDC_SAVE_CHANGES);
        Key(dlg, Qt::Key_Escape);
      })
      .Then("No", [](QWidget* box) { Click(box, IDNO); });
  EXPECT_EQ(New(), CRecordDlg::kStartOver);
  EXPECT_EQ(JoinAddress(fresh_), words.substr(0, 499));
}

TEST_F(RecordDlgTest, LongAddressSpreadsOverTheFiveParts) {
  std::string line;
  for (int i = 0; i < 14; ++i) line += (i ? " " : "") + std::string("Street") + std::to_string(i) + "xxxxxx";
  ASSERT_GT(line.size(), 99u);
  ScriptedUser user;
  user.Then("type a long address, save", [&line](QWidget* dlg) {
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Lee"));
        Type(dlg, IDC_ADDRESS, QString::fromLatin1(line));
        Click(dlg, IDC_SAVE_CHANGES);
        Key(dlg, Qt::Key_Escape);
      })
      .Then("No", [](QWidget* box) { Click(box, IDNO); });
  EXPECT_EQ(New(), CRecordDlg::kStartOver);
  EXPECT_NE(std::string(fresh_.field(address2)), "");
  EXPECT_EQ(JoinAddress(fresh_), line);
}

// Pictures for the README: a new record being typed and match 3 of 7.
TEST_F(RecordDlgTest, RendersANewRecordAndAMatch) {
  QDir().mkpath(QStringLiteral(KESTREL_RENDER_DIR));
  {
    ScriptedUser user;
    user.Then("type, render", [](QWidget* dlg) {
          Type(dlg, IDC_STUDENT_NO, QStringLiteral("S2024117"));
          Type(dlg, IDC_FIRST_NAME, QString::fromUtf8("Zo\xC3\xAB"));
          Type(dlg, IDC_LAST_NAME, QString::fromUtf8("M\xC3\xBCller"));
          Type(dlg, IDC_PHONE, QStringLiteral("555-0142"));
          Type(dlg, IDC_ADDRESS, QStringLiteral("12 Main St Springfield"));
          EXPECT_TRUE(dlg->grab().save(QStringLiteral(KESTREL_RENDER_DIR "/record-new.png")));
          Key(dlg, Qt::Key_Escape);
        })
        .Then("No", [](QWidget* box) { Click(box, IDNO); });
    EXPECT_EQ(New(), CRecordDlg::kStartOver);
  }
  Link(GenerateBook(7)[2]);
  ScriptedUser user;
  user.Then("render", [](QWidget* dlg) {
    EXPECT_TRUE(dlg->grab().save(QStringLiteral(KESTREL_RENDER_DIR "/record-dialog.png")));
    Key(dlg, Qt::Key_Escape);
  });
  EXPECT_EQ(Browse(3, 7), CRecordDlg::kStartOver);
}

}  // namespace
