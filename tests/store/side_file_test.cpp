// Files kept beside the book on every system: the journal of our own is
// created only where nothing has its name, read within a bound, cut and
// removed; a folder or a link at its name is never read, written or removed,
// only moved aside by its own name. (Every planted kind, FIFOs, devices and
// other users' files among them, is in planted_side_file_test.cpp.)
#include <cerrno>
#include <filesystem>
#include <iostream>

#include "store/platform/platform.h"
#include "store_fixture.h"

namespace {

class SideFileTest : public StoreTest {
 protected:
  std::string Side() const { return path_ + ".journal"; }
};

TEST_F(SideFileTest, OwnJournalIsReadWithinItsBoundCutAndRemoved) {
  platform::AppendFile journal;
  ASSERT_EQ(journal.Create(Side(), "header"), 0);
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

TEST_F(SideFileTest, FolderOrLinkAtTheNameIsLeftAndMovedAsideByItsName) {
  // row: what is planted | how ReadSideFile refuses it
  struct Row {
    const char* name;
    bool (*plant)(const std::string& side, const std::string& book);
    int refusal;
  };
  const Row rows[] = {
      {"folder",
       [](const std::string& side, const std::string&) {
         return std::filesystem::create_directory(side);
       },
       platform::kNotRegularFile},
      {"link to the book",
       [](const std::string& side, const std::string& book) {
         std::error_code error;
         std::filesystem::create_symlink(book, side, error);
         return !error;
       },
       ELOOP},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove_all(Side());
    std::filesystem::remove_all(Side() + ".1");
    WriteFileBytes("the book");
    if (!row.plant(Side(), path_)) {
      std::cout << "cannot plant a " << row.name << " here\n";
      continue;
    }
    std::string bytes;
    EXPECT_EQ(platform::ReadSideFile(Side(), bytes, 1 << 20), row.refusal);
    EXPECT_EQ(platform::CreateSideFile(Side(), "header"), EEXIST);
    platform::AppendFile append;
    EXPECT_EQ(append.OpenExisting(Side(), 0), row.refusal);
    EXPECT_EQ(platform::RemoveSideFile(Side()), row.refusal);
    EXPECT_EQ(FileBytes(), "the book");
    std::string movedTo;
    ASSERT_EQ(platform::MoveSideFileAside(Side(), movedTo), 0);
    EXPECT_EQ(movedTo, Side() + ".1");
    EXPECT_FALSE(platform::InspectSideFile(movedTo).trusted());
    EXPECT_EQ(FileBytes(), "the book") << "the link's target moved, not the link";
  }
}

}  // namespace
