// Opening the book at start-up when it is not the program's alone: another
// Kestrel holds it, or it is no regular file at all.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/kestrel_app.h"
#include "res/resource.h"
#include "store/journal.h"
#include "store/journal_file.h"
#include "tests/app/app_test_support.h"
#include "tests/search/record_maker.h"
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

// Symptom: a second Kestrel opened the same book unasked, and whichever
// saved last silently replaced the other's changes.
TEST_F(BookOpenTest, SecondKestrelNamesTheFirstAndEndsOnTheDefaultNo) {
  WriteBook({Person("Adams")});
  const pid_t first = HoldSession(path_);
  ASSERT_GT(first, 0);
  ScriptedUser user;
  user.Then("already open: press Enter", [&](QWidget* box) {
    EXPECT_EQ(MessageText(box).toStdString(),
              "The book \"" + path_ + "\" is already open in Kestrel (process " +
                  std::to_string(first) +
                  ").\n\nOpen it anyway?  Saving in one window may then replace what the other "
                  "saved.");
    Key(box, Qt::Key_Return);  // the default button: No
  });
  Run();  // no main form follows
  user.Finish();
  kill(first, SIGKILL);
  waitpid(first, nullptr, 0);
}

// The journal beside a book open in another Kestrel is that session's, alive:
// a second Kestrel opened anyway neither offers nor replaces it.
TEST_F(BookOpenTest, OpenedAnywayLeavesTheFirstSessionsJournalAlone) {
  WriteBook({Person("Adams")});
  const std::string journalPath = journal::PathFor(path_);
  {
    journal::FileSink file(journalPath);
    journal::Session first(file);
    ASSERT_TRUE(first.Begin(platform::StampOf(path_)));
    ASSERT_TRUE(first.Record(0, Person("Ames")));
  }
  std::ifstream in(journalPath, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const pid_t first = HoldSession(path_);
  ASSERT_GT(first, 0);
  ScriptedUser user;
  user.Then("already open: Yes, open it", [](QWidget* box) { Click(box, IDYES); })
      .Then("no recovery in this one", [](QWidget* box) {
        const std::string text = MessageText(box).toStdString();
        EXPECT_NE(text.find("belongs to the other Kestrel"), std::string::npos) << text;
        Key(box, Qt::Key_Return);
      })
      .Then("form: leave", [](QWidget* form) { Key(form, Qt::Key_Escape); });
  Run();
  user.Finish();
  kill(first, SIGKILL);
  waitpid(first, nullptr, 0);
  std::ifstream after(journalPath, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), before);
  EXPECT_FALSE(std::filesystem::exists(journalPath + ".1"));
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
