// The session journal through the whole program: a journal left by a session
// that died is offered, set aside or refused, and a session that cannot keep
// one goes on. (Killing the real program is in the end-to-end script.)
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/kestrel_app.h"
#include "app/toolkit/session_end.h"
#include "res/resource.h"
#include "store/journal.h"
#include "store/journal_file.h"
#include "tests/app/app_test_support.h"
#include "tests/search/record_maker.h"
#include "tests/store/planted_kinds.h"

namespace {

class JournalRecoveryTest : public BookFolderTest {
 protected:
  std::string JournalPath() const { return journal::PathFor(path_); }

  // What a session that died left: the header naming the book as it is now,
  // then `count` whole changes (record 0 renamed "Ames", then new records)
  // and the first bytes of one more.
  void LeaveJournal(int count) {
    journal::FileSink file(JournalPath());
    journal::Session session(file);
    ASSERT_TRUE(session.Begin(platform::StampOf(path_)));
    ASSERT_TRUE(session.Record(0, Person("Ames")));
    for (int k = 1; k < count; ++k) ASSERT_TRUE(session.Record(1 + k, Person("New")));
    file.Close();
    std::ofstream torn(JournalPath(), std::ios::binary | std::ios::app);
    torn << journal::EncodeEntry(1, Person("Torn")).substr(0, 20);
  }
  std::string JournalBytes(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  // What a session that died could have left, as bytes: a header naming the
  // book as it is now and one change, record 0 renamed "Planted".
  std::string JournalOfNow() const {
    return journal::EncodeHeader(platform::StampOf(path_)) + journal::EncodeEntry(0, Person("Planted"));
  }
  // Starts afresh: an empty folder holding the book of `records`.
  void FreshFolder(const RecordList& records) {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directory(folder_);
    WriteBook(records);
  }
  // `before` with the thing at `from` (a name in the folder) now at `to`.
  static std::map<std::string, std::string> Moved(std::map<std::string, std::string> before,
                                                  const std::string& from, const std::string& to) {
    before[to] = before[from];
    before.erase(from);
    return before;
  }
  // A user who reads the box that tells, then leaves from the main form.
  static void ToldThenLeave(ScriptedUser& user, const std::string& told) {
    user.Then("told, not asked", [told](QWidget* box) {
          EXPECT_EQ(MessageText(box).toStdString(), told);
          Key(box, Qt::Key_Return);
        })
        .Then("form: leave", [](QWidget* form) { Key(form, Qt::Key_Escape); });
  }

  void Run(CKestrelApp& app) { EXPECT_EQ(app.InitInstance(), FALSE); }
  static void SaveAndExit(ScriptedUser& user) {
    user.Then("form: Save and Exit", [](QWidget* form) { Click(form, IDC_SAVE_AND_EXIT); })
        .Then("Yes, save", [](QWidget* box) { Click(box, IDYES); });
  }
};

TEST_F(JournalRecoveryTest, TornLastEntryIsDroppedAndTheWholeOnesRestored) {
  // row: whole changes | the question
  const std::pair<int, const char*> rows[] = {
      {1, "Kestrel was not closed properly. 1 change made in that session was not saved. Restore it?"},
      {2, "Kestrel was not closed properly. 2 changes made in that session were not saved. Restore them?"},
  };
  for (const auto& [count, question] : rows) {
    WriteBook({Person("Adams"), Person("Brown")});
    LeaveJournal(count);
    ScriptedUser user;
    user.Then("the question", [question](QWidget* box) {
      EXPECT_EQ(MessageText(box).toStdString(), question);
      Key(box, Qt::Key_Return);  // Yes is the default
    });
    SaveAndExit(user);
    CKestrelApp app(path_.c_str());
    Run(app);
    user.Finish();
    const std::vector<std::string> expected =
        count == 1 ? std::vector<std::string>{"Ames", "Brown"} : std::vector<std::string>{"Ames", "Brown", "New"};
    EXPECT_EQ(LastNames(ReadBook()), expected) << count;
    EXPECT_FALSE(std::filesystem::exists(JournalPath())) << "the journal outlived Save and Exit";
    EXPECT_FALSE(std::filesystem::exists(JournalPath() + ".1"))
        << "a restored journal was also kept aside";
  }
}

// The restored journal is carried on, not rewritten: its torn tail must go,
// or every change after it would be unreadable at the next recovery.
TEST_F(JournalRecoveryTest, RestoredJournalIsCarriedOnWithoutItsTornTail) {
  WriteBook({Person("Adams"), Person("Brown")});
  LeaveJournal(1);
  ScriptedUser user;
  user.Then("the question: Yes", [](QWidget* box) { Key(box, Qt::Key_Return); })
      .Then("form: search", [](QWidget* form) { Click(form, IDC_SEARCH); })
      .Then("match list: the first", [](QWidget* list) { Key(list, Qt::Key_Return); })
      .Then("record: edit, save, leave", [](QWidget* dlg) {
        Erase(dlg, IDC_LAST_NAME);
        Type(dlg, IDC_LAST_NAME, QStringLiteral("Cole"));
        Click(dlg, IDC_SAVE_CHANGES);
        Key(dlg, Qt::Key_Escape);
      })
      .Then("form: the desktop logs out", [](QWidget* form) {
        toolkit::SetSessionEnding(true);
        Key(form, Qt::Key_Escape);
      });
  CKestrelApp app(path_.c_str());
  Run(app);
  user.Finish();
  toolkit::SetSessionEnding(false);
  const journal::Contents left = journal::Parse(JournalBytes(JournalPath()));
  EXPECT_FALSE(left.tornTail);
  ASSERT_EQ(left.entries.size(), 2u);
  EXPECT_STREQ(left.entries[0].record.fields[lastName], "Ames");
  EXPECT_STREQ(left.entries[1].record.fields[lastName], "Cole");
}

TEST_F(JournalRecoveryTest, JournalOfAChangedBookIsKeptAsideNotReplayed) {
  WriteBook({Person("Adams"), Person("Brown")});
  LeaveJournal(2);
  const std::string left = JournalBytes(JournalPath());
  WriteBook({Person("Other")});  // another program wrote the book since
  ScriptedUser user;
  user.Then("told, not asked", [this](QWidget* box) {
        const std::string text = MessageText(box).toStdString();
        EXPECT_NE(text.find("has changed since"), std::string::npos) << text;
        EXPECT_NE(text.find(JournalPath() + ".1"), std::string::npos) << text;
        Key(box, Qt::Key_Return);
      })
      .Then("form: this session has a journal of its own", [this](QWidget* form) {
        const journal::Contents now = journal::Parse(JournalBytes(JournalPath()));
        EXPECT_TRUE(now.headerValid);
        EXPECT_EQ(now.book, platform::StampOf(path_));
        EXPECT_TRUE(now.entries.empty());
        Key(form, Qt::Key_Escape);
      });
  CKestrelApp app(path_.c_str());
  Run(app);
  user.Finish();
  EXPECT_EQ(LastNames(app.store.records), (std::vector<std::string>{"Other"}));
  EXPECT_EQ(JournalBytes(JournalPath() + ".1"), left);
  EXPECT_FALSE(std::filesystem::exists(JournalPath())) << "Discard ends this session's journal";
}

// Symptom: a journal whose changes still fit the book was replayed onto a
// book rewritten since it was begun.
TEST_F(JournalRecoveryTest, JournalThatFitsABookRewrittenSinceIsKeptAside) {
  // row: whole changes | what the user is told, after the book's name
  const std::pair<int, const char*> rows[] = {
      {1, "\" has changed since.  The 1 change made in that session cannot be restored onto it; "
          "it is kept in \""},
      {2, "\" has changed since.  The 2 changes made in that session cannot be restored onto it; "
          "they are kept in \""},
  };
  for (const auto& [count, told] : rows) {
    FreshFolder({Person("Adams"), Person("Brown")});
    LeaveJournal(count);
    const std::string left = JournalBytes(JournalPath());
    WriteBook({Person("Adamson"), Person("Browning")});  // as many records: every change fits
    ScriptedUser user;
    ToldThenLeave(user, "Kestrel was not closed properly, and the book \"" + path_ + told +
                            JournalPath() + ".1\".");
    {
      CKestrelApp app(path_.c_str());
      Run(app);
      user.Finish();
      EXPECT_EQ(LastNames(app.store.records), (std::vector<std::string>{"Adamson", "Browning"}))
          << count;
    }
    EXPECT_EQ(JournalBytes(JournalPath() + ".1"), left) << count;
  }
}

TEST_F(JournalRecoveryTest, LogoutClosingTheFormLeavesTheJournalDiscardDoesNot) {
  for (const bool loggingOut : {true, false}) {
    WriteBook({Person("Adams")});
    std::filesystem::remove(JournalPath());
    ScriptedUser user;
    user.Then("form: search", [](QWidget* form) { Click(form, IDC_SEARCH); })
        .Then("record: edit, save, leave", [](QWidget* dlg) {
          Type(dlg, IDC_LAST_NAME, QStringLiteral("s"));
          Click(dlg, IDC_SAVE_CHANGES);
          Key(dlg, Qt::Key_Escape);
        })
        .Then("form: closed", [loggingOut](QWidget* form) {
          toolkit::SetSessionEnding(loggingOut);
          Key(form, Qt::Key_Escape);
        });
    CKestrelApp app(path_.c_str());
    Run(app);
    user.Finish();
    toolkit::SetSessionEnding(false);
    EXPECT_EQ(std::filesystem::exists(JournalPath()), loggingOut) << "logging out: " << loggingOut;
    if (loggingOut) {
      const journal::Contents left = journal::Parse(JournalBytes(JournalPath()));
      ASSERT_EQ(left.entries.size(), 1u);
      EXPECT_STREQ(left.entries[0].record.fields[lastName], "s");
    }
  }
}

// Symptom: a link planted as the journal had the book replaced by a journal
// header; a FIFO stalled the start for ever; another user's file was
// written to and its changes offered as ours.
TEST_F(JournalRecoveryTest, PlantedJournalIsMovedAsideUnreadAndNothingElseChanges) {
  for (const planted::Row& row : planted::Rows()) {
    SCOPED_TRACE(row.name);
    FreshFolder({Person("Adams")});
    ASSERT_EQ(planted::Plant(row.kind, JournalPath(), path_, folder_, JournalOfNow()), "");
    const auto expected = Moved(planted::Snapshot(folder_), "/phone.dat.journal", "/phone.dat.journal.1");
    ScriptedUser user;
    ToldThenLeave(user, std::string("Kestrel found ") + row.words + " where it keeps its recovery file \"" +
                            JournalPath() + "\", and did not use it.  It has been renamed \"" +
                            JournalPath() + ".1\".");
    CKestrelApp app(path_.c_str());
    Run(app);
    user.Finish();
    auto after = planted::Snapshot(folder_);
    after.erase("/phone.dat.lock");  // names the program, which still holds the book
    EXPECT_EQ(after, expected) << "changed, or the session's journal outlived Discard";
    EXPECT_EQ(LastNames(app.store.records), (std::vector<std::string>{"Adams"}));
  }
}

// A journal of a changed book goes to the first free ".journal.N": what is
// planted at ".journal.1" is passed over, never replaced nor followed.
TEST_F(JournalRecoveryTest, PlantedKeptAsideNameIsPassedOver) {
  for (const planted::Row& row : planted::Rows()) {
    SCOPED_TRACE(row.name);
    FreshFolder({Person("Adams"), Person("Brown")});
    LeaveJournal(2);
    WriteBook({Person("Other")});  // another program wrote the book since
    ASSERT_EQ(planted::Plant(row.kind, JournalPath() + ".1", path_, folder_), "");
    const auto expected = Moved(planted::Snapshot(folder_), "/phone.dat.journal", "/phone.dat.journal.2");
    ScriptedUser user;
    ToldThenLeave(user, "Kestrel was not closed properly, and the book \"" + path_ +
                            "\" has changed since.  The 2 changes made in that session cannot be "
                            "restored onto it; they are kept in \"" + JournalPath() + ".2\".");
    {
      CKestrelApp app(path_.c_str());  // its end lets the book go, and its lock file
      Run(app);
      user.Finish();
    }
    EXPECT_EQ(planted::Snapshot(folder_), expected);
  }
}

// Symptom: a journal whose header was damaged was overwritten by the next
// session's, losing whatever it held.
TEST_F(JournalRecoveryTest, DamagedHeaderIsKeptAsideNotOverwritten) {
  WriteBook({Person("Adams")});
  std::string damaged = JournalOfNow();
  damaged[20] = static_cast<char>(damaged[20] ^ 1);
  std::ofstream(JournalPath(), std::ios::binary) << damaged;
  ScriptedUser user;
  ToldThenLeave(user, "The recovery file \"" + JournalPath() + "\" that Kestrel found is damaged, and "
                      "cannot be restored.  It is kept in \"" + JournalPath() + ".1\".");
  CKestrelApp app(path_.c_str());
  Run(app);
  user.Finish();
  EXPECT_EQ(JournalBytes(JournalPath() + ".1"), damaged);
}

// Symptom: a journal larger than memory ran the start out of memory (exit
// 134) every time, until someone deleted it by hand.
TEST_F(JournalRecoveryTest, JournalLargerThanMemoryIsRefusedInWordsAndKeptAside) {
  WriteBook({Person("Adams")});
  std::ofstream(JournalPath(), std::ios::binary) << JournalOfNow();
  const std::uintmax_t size = platform::AvailableMemory() + 1;
  std::filesystem::resize_file(JournalPath(), size);  // sparse: no disk spent
  ScriptedUser user;
  user.Then("told, not asked", [this](QWidget* box) {
        const std::string text = MessageText(box).toStdString();
        EXPECT_EQ(text.rfind("Kestrel was not closed properly, but its recovery file \"" + JournalPath() +
                                 "\" is too large to restore: it is ",
                             0),
                  0u)
            << text;
        EXPECT_NE(text.find(", more than the memory available.  It is kept in \"" + JournalPath() + ".1\"."),
                  std::string::npos)
            << text;
        Key(box, Qt::Key_Return);
      })
      .Then("form: leave", [](QWidget* form) { Key(form, Qt::Key_Escape); });
  CKestrelApp app(path_.c_str());
  Run(app);
  user.Finish();
  EXPECT_EQ(std::filesystem::file_size(JournalPath() + ".1"), size);
  EXPECT_EQ(LastNames(app.store.records), (std::vector<std::string>{"Adams"}));
}

// Symptom: a journal that could not be created was taken for begun: the
// user heard nothing until the first change, and then of a bad handle.
TEST_F(JournalRecoveryTest, JournalThatCannotBeCreatedIsToldAtTheStartAndNothingWritten) {
  WriteBook({Person("Adams")});
  // A name that fits, and with ".journal" after it does not.
  const std::string named = folder_ + "/" + std::string(248, 'b');
  std::filesystem::rename(path_, named);
  path_ = named;
  const auto before = planted::Snapshot(folder_);
  ScriptedUser user;
  ToldThenLeave(user, "Kestrel cannot keep its recovery file \"" + JournalPath() +
                          "\" (File name too long).  You can go on working, but if Kestrel is not "
                          "closed properly, the changes made since it started will be lost.");
  {
    CKestrelApp app(path_.c_str());
    Run(app);
    user.Finish();
  }
  EXPECT_EQ(planted::Snapshot(folder_), before);
}

// Run by read_only_medium.sh with the book on a file system mounted read-only.
TEST_F(JournalRecoveryTest, ReadOnlyMediumToldOnceAndTheSessionGoesOn) {
  const char* book = std::getenv("KESTREL_READ_ONLY_BOOK");
  if (book == nullptr) GTEST_SKIP() << "needs a read-only medium (read_only_medium.sh)";
  ScriptedUser user;
  user.Then("told once", [](QWidget* box) {
        const std::string text = MessageText(box).toStdString();
        EXPECT_NE(text.find("recovery file"), std::string::npos) << text;
        EXPECT_NE(text.find("Read-only file system"), std::string::npos) << text;
        Key(box, Qt::Key_Return);
      })
      .Then("form: search", [](QWidget* form) { Click(form, IDC_SEARCH); })
      .Then("record: edit and save twice, no second word", [](QWidget* dlg) {
        Type(dlg, IDC_LAST_NAME, QStringLiteral("s"));
        Click(dlg, IDC_SAVE_CHANGES);
        Click(dlg, IDC_SAVE_CHANGES);
        Key(dlg, Qt::Key_Escape);
      })
      .Then("form: the edit is in the book; leave", [](QWidget* form) { Key(form, Qt::Key_Escape); });
  CKestrelApp app(book);
  Run(app);
  user.Finish();
  ASSERT_FALSE(app.store.records.empty());
  EXPECT_STREQ(app.store.records[0].fields[lastName], "s");
}

}  // namespace
