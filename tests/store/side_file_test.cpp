// Files kept beside the book, with something planted under their names by
// another user of the folder: never followed, never read, written, cut or
// removed, only moved aside by their own name; and new ones made only where
// nothing has the name, with the bits asked for.
#include <sys/stat.h>

#include <cerrno>

#include "store/platform/platform.h"
#include "store/record_store.h"
#include "store_fixture.h"
#include "tests/store/planted_kinds.h"

namespace {

class SideFileTest : public StoreTest {
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

TEST_F(SideFileTest, PlantedKindIsNeverFollowedReadWrittenOrRemovedOnlyMovedAside) {
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

TEST_F(SideFileTest, NewSideFileHasTheBitsAskedForWhateverTheUmask) {
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

TEST_F(SideFileTest, OwnJournalIsReadWithinItsBoundCutAndRemoved) {
  platform::AppendFile journal;
  ASSERT_EQ(journal.Create(Side(), "header"), 0);
  EXPECT_EQ(Mode(Side()), platform::kOwnerOnly);
  ASSERT_EQ(journal.Append("+one+torn"), 0);
  journal.Close();
  std::string bytes;
  EXPECT_EQ(platform::ReadSideFile(Side(), bytes, 14), EFBIG) << "one byte over the bound";
  EXPECT_EQ(bytes, "");
  ASSERT_EQ(platform::ReadSideFile(Side(), bytes, 15), 0);
  EXPECT_EQ(bytes, "header+one+torn");
  ASSERT_EQ(journal.OpenExisting(Side(), 10), 0);  // the torn tail goes
  ASSERT_EQ(journal.Append("+two"), 0);
  journal.Close();
  EXPECT_EQ(ReadFile(Side()), "header+one+two");
  EXPECT_EQ(platform::RemoveSideFile(Side()), 0);
  EXPECT_FALSE(std::filesystem::exists(Side()));
}

}  // namespace
