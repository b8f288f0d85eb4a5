// The steps a save and the journal take on the system, seen through a
// recording System: which ones, in which order, and what the book and the
// caller are left with when any one of them fails.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "store/journal_file.h"
#include "store_fixture.h"
#include "tests/support/recording_system.h"
#include "tools/book_generator.h"

namespace {

using Steps = std::vector<std::string>;

class DurableWritesTest : public StoreTest {
 protected:
  // A store on this test's book that takes its steps through `system_`,
  // syncing as the program does.
  RecordStore Recorded() {
    RecordStore store(path_.c_str(), system_);
    store.Load();
    return store;
  }

  std::string Folder() const { return RecordingSystem::Name(folder_); }

  RecordingSystem system_;
};

constexpr char kTemp[] = "phone.dat.kestrel-save-XXXXXX";

std::string Step(const std::string& step, const std::string& name) { return step + " " + name; }

// Symptom: a save that skipped the sync of the new file, synced it after the
// rename, or skipped the folder's sync after it passed every test, as every
// fixture turns syncing off.
TEST_F(DurableWritesTest, SaveSyncsTheNewFileBeforeItTakesTheBooksNameAndTheFolderAfter) {
  const std::string t = kTemp;
  const Steps written = {Step("write", t), Step("sync", t), Step("close", t)};
  const Steps placed = {Step("rename", t + " phone.dat"), Step("sync-folder", Folder())};

  {  // the first save: a new file, its owner's alone
    RecordStore store = Recorded();
    store.records = GenerateBook(3);
    ASSERT_TRUE(store.Save().ok());
    Steps expected = {Step("create", t)};
    expected.insert(expected.end(), written.begin(), written.end());
    expected.insert(expected.end(), placed.begin(), placed.end());
    EXPECT_EQ(system_.steps(), expected);
  }
  {  // over a book: the new file takes the old one's access first
    system_.Forget();
    RecordStore store = Recorded();
    store.records = GenerateBook(4);
    ASSERT_TRUE(store.Save().ok());
    Steps expected = {Step("create", t), Step("take-access", t)};
    expected.insert(expected.end(), written.begin(), written.end());
    expected.insert(expected.end(), placed.begin(), placed.end());
    EXPECT_EQ(system_.steps(), expected);
  }
  {  // over a damaged book: kept aside first, as a second name
    WriteFileBytes("junk");
    system_.Forget();
    RecordStore store = Recorded();
    store.records = GenerateBook(2);
    ASSERT_TRUE(store.Save().ok());
    ASSERT_FALSE(system_.steps().empty());
    EXPECT_EQ(system_.steps().front(), "keep-copy phone.dat phone.dat.bak");
    EXPECT_EQ(system_.steps().back(), Step("sync-folder", Folder()));
  }
}

// Symptom: a journal entry written without fdatasync returned as if it were
// on disk, and a crash then lost the change the user was told was kept.
TEST_F(DurableWritesTest, EachJournalEntryIsOnDiskBeforeItIsAcknowledged) {
  const std::string name = "phone.dat.journal";
  journal::FileSink sink(folder_ + "/" + name, system_);
  ASSERT_EQ(sink.Start("header"), "");
  ASSERT_EQ(sink.Append("entry one"), "");
  ASSERT_EQ(sink.Append("entry two"), "");
  sink.Close();
  ASSERT_EQ(sink.Continue(6), "");  // cut back to the header, as recovery carries on
  EXPECT_EQ(system_.steps(), (Steps{
                                 Step("create", name),
                                 Step("write", name),
                                 Step("sync", name),
                                 Step("sync-folder", Folder()),
                                 Step("write", name),
                                 Step("sync-data", name),
                                 Step("write", name),
                                 Step("sync-data", name),
                                 Step("close", name),
                                 Step("open-to-append", name),
                                 Step("truncate", name),
                                 Step("sync-data", name),
                             }));
  EXPECT_EQ(ReadFile(folder_ + "/" + name), "header");
}

// Symptom: an entry whose fdatasync failed was taken as kept, so the user
// went on editing with a journal that could not bring the change back.
TEST_F(DurableWritesTest, AnEntryThatCannotBeSyncedTurnsTheJournalOffInTheSystemsWords) {
  journal::FileSink sink(folder_ + "/phone.dat.journal", system_);
  journal::Session session(sink);
  ASSERT_TRUE(session.Begin(platform::StampOf(path_)));
  ASSERT_TRUE(session.Record(0, GenerateBook(1)[0]));
  system_.Fail("sync-data", 1, EIO);
  EXPECT_FALSE(session.Record(1, GenerateBook(1)[0]));
  EXPECT_FALSE(session.on());
  EXPECT_EQ(session.failure(), platform::ErrorText(EIO));
}

// Whatever step fails, the book on disk is the old one, no temporary file is
// left, and the caller hears which kind of failure and the system's words.
TEST_F(DurableWritesTest, AnyFailedStepLeavesTheOldBookWholeAndSaysWhy) {
  Save(GenerateBook(5));
  const std::string old = FileBytes();
  struct Row {
    const char* step;
    int error;
    SaveProblem problem;
  };
  const Row rows[] = {
      {"create", EACCES, SaveProblem::kCannotCreate},
      {"take-access", EPERM, SaveProblem::kWriteFailed},
      {"write", ENOSPC, SaveProblem::kWriteFailed},
      {"sync", EIO, SaveProblem::kWriteFailed},
      {"close", EIO, SaveProblem::kWriteFailed},
      {"rename", EACCES, SaveProblem::kWriteFailed},
  };
  for (const bool copy : {false, true}) {
    for (const Row& row : rows) {
      const std::string label = std::string(row.step) + (copy ? " (copy)" : "");
      const std::string target = copy ? folder_ + "/copy.dat" : path_;
      if (copy) std::filesystem::copy_file(path_, target);
      RecordStore store = Recorded();
      store.records = GenerateBook(9);
      system_.Fail(row.step, 1, row.error);
      const SaveResult saved = copy ? store.SaveCopy(target) : store.Save();
      EXPECT_EQ(saved.problem, row.problem) << label;
      EXPECT_EQ(saved.reason, platform::ErrorText(row.error)) << label;
      EXPECT_EQ(ReadFile(target), old) << label;
      EXPECT_FALSE(store.ChangedOnDisk()) << label;
      const std::vector<std::string> expectedNames =
          copy ? std::vector<std::string>{"copy.dat", "phone.dat"}
               : std::vector<std::string>{"phone.dat"};
      EXPECT_EQ(Names(), expectedNames) << label << ": something left beside the book";
      if (copy) std::filesystem::remove(target);
    }
  }

  // A folder that cannot be synced leaves the new book merely less durable.
  RecordStore store = Recorded();
  store.records = GenerateBook(9);
  system_.Fail("sync-folder", 1, EINVAL);
  EXPECT_TRUE(store.Save().ok());
  EXPECT_NE(FileBytes(), old);
}

// Symptom: three refusals of Save, and every failure of SaveCopy, left the
// result's problem at kNone, so a caller switching on it saw no failure.
TEST_F(DurableWritesTest, EveryRefusalNamesItsProblem) {
  WriteFileBytes("junk");  // damaged: the next save keeps it aside first
  {
    RecordStore store = Recorded();
    system_.Fail("keep-copy", 1, EIO);
    const SaveResult saved = store.Save();
    EXPECT_EQ(saved.problem, SaveProblem::kCannotKeepBackup);
    EXPECT_EQ(saved.reason, "cannot keep the damaged file aside: " + platform::ErrorText(EIO));
    EXPECT_EQ(FileBytes(), "junk");
  }
  {  // created meanwhile by another writer, while this one held the lock on nothing
    std::filesystem::remove(path_);
    RecordStore store(path_.c_str(), system_);
    store.Lock(platform::BookLock::Purpose::write);
    WriteFileBytes("theirs");
    store.records = GenerateBook(1);
    const SaveResult saved = store.Save();
    EXPECT_EQ(saved.problem, SaveProblem::kAppeared);
    EXPECT_EQ(FileBytes(), "theirs");
  }
  std::filesystem::remove(path_);
  std::filesystem::create_directory(path_);
  EXPECT_EQ(Recorded().Save().problem, SaveProblem::kNotAFile);
#ifndef _WIN32  // a FIFO, refused unread
  std::filesystem::remove(path_);
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  RecordStore store = Recorded();
  EXPECT_EQ(store.Save().problem, SaveProblem::kNotLoaded);
  EXPECT_EQ(store.SaveCopy(folder_ + "/copy.dat").problem, SaveProblem::kNotLoaded);
#endif
}

}  // namespace
