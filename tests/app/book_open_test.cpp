// Opening the book at start-up when it is not the program's alone: another
// Kestrel holds it, or it is no regular file at all.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include <QLineEdit>

#include "app/kestrel_app.h"
#include "res/resource.h"
#include "store/journal.h"
#include "store/journal_file.h"
#include "tests/app/app_test_support.h"
#include "tests/search/record_maker.h"
#include "tests/store/planted_kinds.h"
#include "tests/store/session_holder.h"

namespace {

class BookOpenTest : public BookFolderTest {
 protected:
  // Runs the program on this test's book to its end.
  void Run() {
    CKestrelApp app(path_.c_str());
    EXPECT_EQ(app.InitInstance(), FALSE);
  }
};

// Symptom: a second desk was asked "Open it anyway?" with No as the default,
// which left it nothing to look at, and Yes made two editors. It is offered
// the book read-only, the holder named; No ends it.
TEST_F(BookOpenTest, SecondKestrelOffersTheBookReadOnlyNamingTheFirstDesk) {
  WriteBook({Person("Adams")});
  const pid_t first = HoldSession(path_);
  ASSERT_GT(first, 0);
  ScriptedUser user;
  user.Then("held: No", [&](QWidget* box) {
    const std::string text = MessageText(box).toStdString();
    const std::string named = path_ + " is open in Kestrel on " + platform::ComputerName() +
                              " by " + platform::UserName() + " since ";
    EXPECT_EQ(text.substr(0, named.size()), named) << text;
    EXPECT_TRUE(text.ends_with(
        ".\n\nOpen it read-only? You can search, view and print, but not change it."))
        << text;
    Click(box, IDNO);
  });
  Run();  // no main form follows
  user.Finish();
  kill(first, SIGKILL);
  waitpid(first, nullptr, 0);
}

// The read-only session: Yes is the default; it searches and views but can
// neither create, save nor change a record; it sees what the first desk
// saved at its next search; and it writes nothing beside the book.
TEST_F(BookOpenTest, ReadOnlySessionViewsCatchesUpAndWritesNothing) {
  WriteBook({Person("Adams")});
  const std::string journalPath = journal::PathFor(path_);
  {
    journal::FileSink file(journalPath);
    journal::Session first(file);
    ASSERT_TRUE(first.Begin(platform::StampOf(path_)));
    ASSERT_TRUE(first.Record(0, Person("Ames")));
  }
  const pid_t first = HoldSession(path_);
  ASSERT_GT(first, 0);
  const auto before = planted::Snapshot(folder_);
  auto viewOnly = [](QWidget* dlg) {
    auto* edit = qobject_cast<QLineEdit*>(Control(dlg, IDC_LAST_NAME));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_FALSE(Control(dlg, IDC_SAVE_CHANGES)->isEnabled());
    EXPECT_FALSE(Control(dlg, IDC_DELETE_RECORD)->isEnabled());
    Key(dlg, Qt::Key_Escape);
  };
  ScriptedUser user;
  user.Then("held: Enter, the default Yes", [](QWidget* box) { Key(box, Qt::Key_Return); })
      .Then("form: read-only; search", [](QWidget* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Kestrel (read-only)"));
        EXPECT_FALSE(Control(form, IDC_CREATE_NEW_RECORD)->isEnabled());
        EXPECT_FALSE(Control(form, IDC_SAVE_AND_EXIT)->isEnabled());
        EXPECT_TRUE(Control(form, IDC_SEARCH)->isEnabled());
        Type(form, IDC_LAST_NAME, "adams");
        Click(form, IDC_SEARCH);
      })
      .Then("the one match, view only", viewOnly)
      .Then("form: the first desk saves; search again", [&](QWidget* form) {
        WriteBook({Person("Adams"), Person("Baker")});
        Erase(form, IDC_LAST_NAME);
        Type(form, IDC_LAST_NAME, "baker");
        Click(form, IDC_SEARCH);
      })
      .Then("Baker, saved meanwhile", [](QWidget* dlg) {
        EXPECT_EQ(Text(dlg, IDC_LAST_NAME), QStringLiteral("Baker"));
        Key(dlg, Qt::Key_Escape);
      })
      .Then("form: leave without a question", [](QWidget* form) { Key(form, Qt::Key_Escape); });
  Run();
  user.Finish();
  auto after = planted::Snapshot(folder_);
  kill(first, SIGKILL);
  waitpid(first, nullptr, 0);
  after.erase("/phone.dat");  // the first desk's save
  auto expected = before;
  expected.erase("/phone.dat");
  EXPECT_EQ(after, expected) << "the read-only session wrote beside the book";
}

// Symptom: the program blocked for ever in open() on a FIFO named phone.dat.
TEST_F(BookOpenTest, FifoAsTheBookIsRefusedAtOnce) {
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  ScriptedUser user;
  user.Then("cannot be opened", [&](QWidget* box) {
    EXPECT_EQ(MessageText(box).toStdString(),
              "The book \"" + path_ + "\" cannot be opened: not a regular file but a FIFO.");
    Key(box, Qt::Key_Return);
  });
  Run();
  user.Finish();
}

}  // namespace
