// Loading and saving the book through the store.
#include "store/record_store.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>

#include "store/platform/platform.h"
#include "store/record_text.h"
#include "store_fixture.h"
#include "test_bytes.h"
#include "under_wine.h"
#include "tools/book_generator.h"

namespace {

using NameList = std::vector<std::string>;

StudentRecord Named(const char* last) {
  StudentRecord record;
  std::snprintf(record.fields[lastName], StudentRecord::kFieldSize, "%s", last);
  return record;
}

RecordList Lasts(std::initializer_list<const char*> names) {
  RecordList records;
  for (const char* name : names) records.push_back(Named(name));
  return records;
}

std::vector<std::string> LastNames(const RecordList& records) {
  std::vector<std::string> out;
  for (const auto& record : records) out.emplace_back(record.fields[lastName]);
  return out;
}

TEST_F(StoreTest, SaveThenLoadGivesLiveRecordsInOrder) {
  RecordList records = Lasts({"Smith", "gone", "Jones", "Brown"});
  Clear(records[1]);
  Save(records);
  RecordStore store = Load();
  EXPECT_EQ(LastNames(store.records), (std::vector<std::string>{"Smith", "Jones", "Brown"}));
  EXPECT_TRUE(store.loadReport().fileFound);
  EXPECT_FALSE(store.loadReport().damaged);
  EXPECT_EQ(store.loadReport().problem, LoadProblem::kNone);
  EXPECT_EQ(store.loadReport().recordsRead, 3u);
}

TEST_F(StoreTest, GeneratedBookRoundTripsByteForByte) {
  const RecordList book = GenerateBook(5000);
  Save(book);
  RecordStore store = Load();
  EXPECT_EQ(BookText(store.records), BookText(book));
}

TEST_F(StoreTest, AppendedRecordsFollowLoadedOnes) {
  Save(Lasts({"Smith"}));
  RecordStore store = Load();
  StudentRecord added = Named("Added");
  added.master = &added;
  // Symptom: the first new record of a big book paused the program while the
  // whole book was copied into a larger block.
  const StudentRecord* before = store.records.data();
  store.Append(added);
  EXPECT_EQ(store.records.data(), before) << "the loaded book had no room for a new record";
  EXPECT_EQ(store.records.back().master, &added);  // copied whole, link too
  ASSERT_TRUE(store.Save().ok());
  EXPECT_EQ(LastNames(Load().records), (std::vector<std::string>{"Smith", "Added"}));
}

TEST_F(StoreTest, AllRecordsDeletedSavesTheSevenByteFile) {
  RecordList records = Lasts({"a", "b"});
  Clear(records[0]);
  Clear(records[1]);
  Save(records);
  EXPECT_EQ(Hex(FileBytes()), "00 00 00 00 00 00 00");
  EXPECT_TRUE(Load().records.empty());
}

TEST_F(StoreTest, MissingFileGivesEmptyBookAndNoProblem) {
  RecordStore store = Load();
  EXPECT_TRUE(store.records.empty());
  EXPECT_FALSE(store.loadReport().fileFound);
  EXPECT_FALSE(store.loadReport().damaged);
  EXPECT_EQ(store.loadReport().problem, LoadProblem::kNoFile);
  EXPECT_FALSE(store.ChangedOnDisk());
}

TEST_F(StoreTest, NewBookIsOwnerOnlyAndExistingPermissionsAreKept) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX file modes; on Windows a new book takes its folder's access rights";
#endif
  Save(Lasts({"a"}));
  EXPECT_EQ(Mode(path_), 0600u);
  chmod(path_.c_str(), 0640);
  Save(Lasts({"b"}));
  EXPECT_EQ(Mode(path_), 0640u);
  EXPECT_EQ(Names(), (NameList{"phone.dat"}));
}

TEST_F(StoreTest, FileNameIsCutTo255Characters) {
  const std::string longName(300, 'n');
  RecordStore store(longName.c_str());
  EXPECT_EQ(std::string(store.fileName), longName.substr(0, 255));
}

TEST_F(StoreTest, ChangedOnDiskSeesWritesDeletionsAndCreation) {
  RecordStore store = Load();  // no file yet
  EXPECT_FALSE(store.ChangedOnDisk());
  Save(Lasts({"made elsewhere"}));
  EXPECT_TRUE(store.ChangedOnDisk()) << "created since the load";
  store.Load();
  EXPECT_FALSE(store.ChangedOnDisk());
  ASSERT_TRUE(store.Save().ok());
  EXPECT_FALSE(store.ChangedOnDisk()) << "our own save";
  Save(Lasts({"another writer"}));
  EXPECT_TRUE(store.ChangedOnDisk()) << "replaced by another writer";
  store.Load();
  std::filesystem::remove(path_);
  EXPECT_TRUE(store.ChangedOnDisk()) << "deleted";
}

// Error paths follow.

class StoreDamageTest : public StoreTest {
 public:
  void CorruptByteOf(std::size_t offset) { CorruptByte(offset); }
  void TruncateTo(std::size_t size) { Truncate(size); }
  std::size_t Size() { return FileBytes().size(); }
};

TEST_F(StoreDamageTest, DamagedFilesAreReportedAndKeptAsideByTheNextSave) {
  struct Case {
    const char* name;
    void (*damage)(StoreDamageTest&);
    const char* problem;  // how the problem starts
    bool someRecords;     // whether records before the damage are still read
  };
  // The book: 40 generated records; three quarters of the file hold some of them.
  const Case cases[] = {
      {"checksum", [](StoreDamageTest& t) { t.CorruptByteOf(0); }, "bad checksum", false},
      {"short header", [](StoreDamageTest& t) { t.TruncateTo(5); },
       "shorter than the 7-byte header: 5 bytes", false},
      {"table cut short", [](StoreDamageTest& t) { t.TruncateTo(20); }, "table cut short: 13 of",
       false},
      {"payload cut short", [](StoreDamageTest& t) { t.TruncateTo(t.Size() * 3 / 4); },
       "payload cut short:", true},
  };
  const RecordList book = GenerateBook(40);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Save(book);
    c.damage(*this);
    const std::string damaged = FileBytes();

    testing::internal::CaptureStdout();
    RecordStore store = Load();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, std::string(c.problem) == "bad checksum"
                           ? "Bad checksum.  Invalid format........"
                           : "");
    EXPECT_TRUE(store.loadReport().fileFound);
    EXPECT_TRUE(store.loadReport().damaged);
    EXPECT_EQ(store.loadReport().problem, LoadProblem::kDamaged);
    EXPECT_EQ(store.loadReport().reason.rfind(c.problem, 0), 0u) << store.loadReport().reason;
    EXPECT_EQ(store.loadReport().recordsRead, store.records.size());
    EXPECT_LT(store.records.size(), book.size());
    EXPECT_EQ(store.records.size() > 0, c.someRecords);
    // What was read is true to the book, never invented (the last line may be cut).
    for (std::size_t i = 0; i + 1 < store.records.size(); ++i) {
      EXPECT_EQ(BookText({store.records[i]}), BookText({book[i]})) << "record " << i;
    }

    const SaveResult saved = store.Save();
    ASSERT_TRUE(saved.ok()) << saved.reason;
    EXPECT_EQ(saved.backupPath, path_ + ".bak");
    EXPECT_EQ(ReadFile(path_ + ".bak"), damaged);
    EXPECT_EQ(store.Save().backupPath, "") << "one backup per damaged load";
    EXPECT_FALSE(Load().loadReport().damaged);
  }
}

TEST_F(StoreTest, BackupNamesCountUpWhenTaken) {
  WriteFileBytes("junk");
  std::ofstream(path_ + ".bak") << "older";
  std::ofstream(path_ + ".bak.1") << "older still";
  RecordStore store = Load();
  EXPECT_EQ(store.loadReport().reason, "shorter than the 7-byte header: 4 bytes");
  const SaveResult saved = store.Save();
  ASSERT_TRUE(saved.ok()) << saved.reason;
  EXPECT_EQ(saved.backupPath, path_ + ".bak.2");
  EXPECT_EQ(ReadFile(path_ + ".bak.2"), "junk");
  EXPECT_EQ(ReadFile(path_ + ".bak"), "older");
}

TEST_F(StoreTest, FolderInPlaceOfTheFileIsNeverReplaced) {
  ASSERT_TRUE(std::filesystem::create_directory(path_));
  RecordStore store = Load();
  EXPECT_TRUE(store.loadReport().damaged);
  EXPECT_EQ(store.loadReport().reason, "cannot read: Is a directory");
  EXPECT_EQ(store.loadReport().problem, LoadProblem::kUnreadable);
  EXPECT_EQ(store.loadReport().systemReason, "Is a directory");
  const SaveResult saved = store.Save();
  EXPECT_FALSE(saved.ok());
}

// The Windows counterpart of a folder that refuses writes: a book marked
// read-only is not replaced, and the save says why.
TEST_F(StoreTest, ReadOnlyBookIsNotReplacedOnWindows) {
#ifndef _WIN32
  GTEST_SKIP() << "Windows read-only attribute; on POSIX the folder's permissions decide";
#else
  namespace fs = std::filesystem;
  Save(Lasts({"a"}));
  const std::string old = FileBytes();
  fs::permissions(path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  RecordStore store = Load();
  store.records = Lasts({"b"});
  const SaveResult saved = store.Save();
  fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_FALSE(saved.ok());
  EXPECT_EQ(saved.reason, platform::ErrorText(EACCES));  // the system's words
  EXPECT_EQ(FileBytes(), old);
  EXPECT_EQ(Names(), (NameList{"phone.dat"})) << "temporary file left";
#endif
}

TEST_F(StoreTest, SaveIntoMissingFolderReportsTheReason) {
  RecordStore store((folder_ + "/no/such/phone.dat").c_str());
  store.records = Lasts({"a"});
  const SaveResult saved = store.Save();
  EXPECT_FALSE(saved.ok());
  EXPECT_EQ(saved.reason, platform::ErrorText(ENOENT));  // the system's words
}

// A copy goes to its own file and leaves the book's file, and what the store
// knows of it, alone; a copy onto the book itself is a save, backup and all.
TEST_F(StoreTest, SaveCopyLeavesTheBookAloneUnlessItIsTheBook) {
  WriteFileBytes("junk");
  RecordStore store = Load();
  store.records = Lasts({"a", "b"});
  const std::string copy = folder_ + "/copy.dat";
  const SaveResult copied = store.SaveCopy(copy);
  ASSERT_TRUE(copied.ok()) << copied.reason;
  EXPECT_EQ(FileBytes(), "junk");
  EXPECT_FALSE(store.ChangedOnDisk());
  RecordStore reread(copy.c_str());
  reread.Load();
  EXPECT_EQ(LastNames(reread.records), (NameList{"a", "b"}));
#ifndef _WIN32  // POSIX file modes
  EXPECT_EQ(Mode(copy), 0600u) << "a new copy holds personal data: owner only";
#endif

  const SaveResult missing = store.SaveCopy(folder_ + "/no/such/copy.dat");
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.reason, platform::ErrorText(ENOENT));

#ifndef _WIN32  // POSIX symbolic links
  ASSERT_EQ(symlink(path_.c_str(), (folder_ + "/other-name.dat").c_str()), 0);
  const SaveResult onBook = store.SaveCopy(folder_ + "/other-name.dat");
  ASSERT_TRUE(onBook.ok()) << onBook.reason;
  EXPECT_EQ(onBook.backupPath, path_ + ".bak");
  EXPECT_EQ(ReadFile(path_ + ".bak"), "junk");
  EXPECT_EQ(LastNames(Load().records), (NameList{"a", "b"}));
#endif
}

}  // namespace

// Regression: saving through a symbolic link replaced the link with a new
// file and left the real book behind, unchanged and out of date.
TEST_F(StoreTest, SaveThroughALinkReplacesTheBookItPointsTo) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX symbolic links";
#else
  const std::string real = folder_ + "/real-book.dat";
  ASSERT_EQ(symlink("real-book.dat", path_.c_str()), 0);
  Save(Lasts({"Smith"}));

  struct stat info;
  ASSERT_EQ(lstat(path_.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link itself must stay a link";
  EXPECT_EQ(Load().records.size(), 1u);
  EXPECT_EQ(ReadFile(real), FileBytes());
  unlink(real.c_str());
#endif
}

// Symptom: the backup of a damaged book reached through a symbolic link was
// a second name of the link, so after the save it showed the new book.
TEST_F(StoreTest, BackupThroughALinkHoldsTheDamagedBytes) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX symbolic links";
#else
  ASSERT_EQ(symlink("real-book.dat", path_.c_str()), 0);
  std::ofstream(folder_ + "/real-book.dat", std::ios::binary) << "damaged";
  RecordStore store = Store();
  store.SetAnnounceBadChecksum(false);
  store.Load();
  ASSERT_TRUE(store.loadReport().damaged);
  store.records = Lasts({"New"});
  const SaveResult saved = store.Save();
  ASSERT_TRUE(saved.ok()) << saved.reason;
  EXPECT_EQ(saved.backupPath, path_ + ".bak");
  EXPECT_EQ(ReadFile(path_ + ".bak"), "damaged");
  EXPECT_EQ(LastNames(Load().records), (std::vector<std::string>{"New"}));
#endif
}

// Symptom: a path longer than 255 bytes was cut short, and the book went
// into a new file named by its first 255 bytes.
TEST_F(StoreTest, EveryFileOperationUsesTheWholePath) {
  std::string folder = folder_;
  for (int depth = 0; depth < 3; ++depth) {
    folder += "/" + std::string(120, 'd');
    ASSERT_TRUE(std::filesystem::create_directory(folder));
  }
  const std::string path = folder + "/phone.dat";
  RecordStore store(path.c_str());
  store.SetSyncOnSave(false);
  store.records = Lasts({"Deep"});
  ASSERT_TRUE(store.Save().ok());
  EXPECT_EQ(ReadFile(path).empty(), false);
  RecordStore again(path.c_str());
  again.Load();
  EXPECT_EQ(LastNames(again.records), (std::vector<std::string>{"Deep"}));
  EXPECT_FALSE(again.ChangedOnDisk());
  std::error_code ignored;
  std::filesystem::remove_all(folder_ + "/" + std::string(120, 'd'), ignored);
}

// Symptom: every save killed half way left a whole temporary copy of the
// book behind, for ever.
TEST_F(StoreTest, LockedSaveRemovesLeftoversOfKilledSavesOfThisBookOnly) {
  Save(Lasts({"Old"}));
  const std::string leftover = std::string("phone.dat") + platform::kTempMarker + "Ab12Cd";
  const std::string others[] = {std::string("phone.dat") + platform::kTempMarker + "Ab12Cde",
                                std::string("other.dat") + platform::kTempMarker + "Ab12Cd",
                                "phone.dat.tmp"};
  for (const std::string& name : others) std::ofstream(folder_ + "/" + name) << "x";
  std::ofstream(folder_ + "/" + leftover) << "x";
  RecordStore unlocked = Load();
  ASSERT_TRUE(unlocked.Save().ok());
  EXPECT_EQ(Names().size(), 5u) << "removed without holding the lock";
  RecordStore store = Store();
  ASSERT_EQ(store.Lock(platform::BookLock::Purpose::write).status(),
            platform::BookLock::Status::held);
  store.Load();
  ASSERT_TRUE(store.Save().ok());
  NameList names = Names();
  if (UnderWine()) {
    // Wine's ReplaceFileW moves a book that is open (here, under the lock)
    // aside as "rf*.tmp" until its last handle closes; Windows replaces the
    // contents in place and leaves no such file.
    std::erase_if(names, [](const std::string& name) { return name.starts_with("rf"); });
  }
  // The lock file names the holder while the lock is held.
  EXPECT_EQ(names, (NameList{others[1], "phone.dat", others[0], "phone.dat.lock", others[2]}));
}

// A session lock refuses another lock and says it is a session's; the book
// stays readable meanwhile (Windows' byte locks bind readers too, so the
// lock must lie past the book's end); a write lock is taken once it goes.
TEST_F(StoreTest, SessionLockRefusesLocksButNotReaders) {
  using platform::BookLock;
  Save(Lasts({"Held"}));
  BookLock session = BookLock::Acquire(path_, BookLock::Purpose::session);
  ASSERT_EQ(session.status(), BookLock::Status::held) << session.reason();
  const BookLock refused = BookLock::Acquire(path_, BookLock::Purpose::session);  // never waits
  EXPECT_EQ(refused.status(), BookLock::Status::busy);
#ifdef _WIN32
  EXPECT_TRUE(refused.holderIsSession());  // POSIX names a holder to other processes only
#endif
  std::string bytes;
  EXPECT_EQ(platform::ReadWholeFile(path_, bytes), 0);
  EXPECT_EQ(bytes, FileBytes());
  session.Release();
  EXPECT_EQ(BookLock::Acquire(path_, BookLock::Purpose::write).status(), BookLock::Status::held);
}
