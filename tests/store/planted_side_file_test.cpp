// Files kept beside the book, with something planted under their names by
// another user of the folder: never followed, never read, written, cut or
// removed, only moved aside by their own name; and new ones made only where
// nothing has the name, with the bits asked for.
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>

#include "store/journal.h"
#include "store/journal_file.h"
#include "store/platform/platform.h"
#include "store/record_store.h"
#include "store_fixture.h"
#include "tests/search/record_maker.h"
#include "tests/store/in_child.h"
#include "tests/store/planted_kinds.h"

namespace {

class PlantedSideFileTest : public StoreTest {
 protected:
  std::string Side() const { return path_ + ".journal"; }
};

// What ReadSideFile says of each planted kind.
int RefusalOf(planted::Kind kind) {
  switch (kind) {
    case planted::Kind::fifo:
    case planted::Kind::device:
    case planted::Kind::folder:
      return platform::kNotRegularFile;
    case planted::Kind::othersFile:
      return platform::kNotOurs;
    default:
      return ELOOP;
  }
}

TEST_F(PlantedSideFileTest, PlantedKindIsNeverFollowedReadWrittenOrRemovedOnlyMovedAside) {
  for (const planted::Row& row : planted::Rows()) {
    SCOPED_TRACE(row.name);
    Save({});
    std::filesystem::remove_all(Side());
    std::filesystem::remove_all(Side() + ".1");
    ASSERT_EQ(planted::Plant(row.kind, Side(), path_, folder_), "");
    const auto before = planted::Snapshot(folder_);

    const platform::SideFile found = platform::InspectSideFile(Side());
    EXPECT_FALSE(found.trusted());
    EXPECT_EQ(platform::Describe(found), row.words);
    std::string bytes;
    EXPECT_EQ(platform::ReadSideFile(Side(), bytes, 1 << 20), RefusalOf(row.kind));
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(platform::CreateSideFile(Side(), "header"), EEXIST);
    platform::AppendFile append;
    EXPECT_EQ(append.OpenExisting(Side(), 0), RefusalOf(row.kind));
    EXPECT_EQ(append.Append("entry"), EBADF);
    EXPECT_EQ(platform::RemoveSideFile(Side()), RefusalOf(row.kind));
    EXPECT_EQ(planted::Snapshot(folder_), before) << "something was written, cut or removed";

    std::string movedTo;
    ASSERT_EQ(platform::MoveSideFileAside(Side(), movedTo), 0);
    EXPECT_EQ(movedTo, Side() + ".1");
    EXPECT_EQ(platform::InspectSideFile(movedTo).kind, found.kind) << "the name moved, not its target";
    EXPECT_EQ(platform::InspectSideFile(Side()).kind, platform::FileKind::missing);
    auto expected = before;
    expected["/phone.dat.journal.1"] = expected["/phone.dat.journal"];
    expected.erase("/phone.dat.journal");
    EXPECT_EQ(planted::Snapshot(folder_), expected);
  }
}

// A damaged book is kept as the first free ".bak", ".bak.1", ... before it is
// replaced, and what is planted at ".bak" is passed over; what is planted
// under a save's temporary name is no leftover of ours and stays.
TEST_F(PlantedSideFileTest, SavePassesOverWhatIsPlantedAtBackupAndTemporaryNames) {
  for (const char* side : {".bak", ".kestrel-save-Abc123"}) {
    for (const planted::Row& row : planted::Rows()) {
      SCOPED_TRACE(std::string(side) + ": " + row.name);
      std::filesystem::remove_all(folder_);
      std::filesystem::create_directory(folder_);
      Save({Person("Adams"), Person("Brown")});
      Truncate(FileBytes().size() - 2);  // damaged: its payload cut short
      ASSERT_EQ(planted::Plant(row.kind, path_ + side, path_, folder_), "");
      auto expected = planted::Snapshot(folder_);
      const std::string damaged = expected.at("/phone.dat");
      RecordStore store = Store();
      store.Lock(platform::BookLock::Purpose::write);
      store.Load();
      ASSERT_TRUE(store.loadReport().damaged);
      const SaveResult saved = store.Save();
      ASSERT_TRUE(saved.ok()) << saved.reason;
      const auto after = planted::Snapshot(folder_);
      expected["/phone.dat"] = after.at("/phone.dat");  // the save itself
      expected["/phone.dat.lock"] = after.at("/phone.dat.lock");  // the holder named while locked
      if (std::string(side) == ".bak") {
        EXPECT_EQ(saved.backupPath, path_ + ".bak.1");
        expected["/phone.dat.bak.1"] = damaged;  // the book as it was
      } else {
        expected["/phone.dat.bak"] = after.at("/phone.dat.bak");
      }
      EXPECT_EQ(after, expected);
    }
  }
}

// Symptom: a journal of 4 million 28-byte entries became 4 million whole
// records in memory, and every start ran out of memory.
TEST_F(PlantedSideFileTest, JournalTooLargeForMemoryIsRefusedInWordsWithoutRunningOut) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space, which a memory limit refuses";
#endif
  constexpr rlim_t kLimit = rlim_t{96} << 20;
  std::string bytes = journal::EncodeHeader(platform::StampOf(path_));
  for (std::uint32_t k = 0; k < 100000; ++k) bytes += journal::EncodeEntry(k, StudentRecord{});
  std::ofstream(Side(), std::ios::binary) << bytes;  // 2.7 MB of entries asking for 171 MB
  const std::string large = path_ + ".large";
  std::ofstream(large, std::ios::binary) << bytes;
  std::filesystem::resize_file(large, kLimit + 1);  // sparse: as large as the limit allows, and one byte
  const std::string said = InChild([&] {
    const rlimit memory{kLimit, kLimit};
    setrlimit(RLIMIT_AS, &memory);
    const journal::Left left = journal::ReadLeft(Side());
    if (left.status != journal::Left::Status::read) return std::string("not read");
    const journal::Summary summary = journal::Summarize(left.bytes, 0);
    const journal::Left tooLarge = journal::ReadLeft(large);
    return journal::ReplayRefusal(summary, RecordList()) + " / " +
           (tooLarge.status == journal::Left::Status::tooLarge ? tooLarge.reason : "read") +
           " / " + std::to_string(tooLarge.bytes.size());
  });
  EXPECT_EQ(said,
            "its 100,000 changes need 163.3 MB of memory; only 96.0 MB is available / "
            "it is 96.0 MB, more than the memory available / 0");
}

TEST_F(PlantedSideFileTest, NewSideFileHasTheBitsAskedForWhateverTheUmask) {
  const mode_t old = umask(077);
  for (const unsigned mode : {platform::kOwnerOnly, platform::kReadableByAll}) {
    std::filesystem::remove(Side());
    ASSERT_EQ(platform::CreateSideFile(Side(), "bytes", mode), 0);
    EXPECT_EQ(Mode(Side()), mode);
    EXPECT_EQ(ReadFile(Side()), "bytes");
    EXPECT_TRUE(platform::InspectSideFile(Side()).trusted());
  }
  umask(old);
}

}  // namespace
