// kestrel-book with something planted beside the book by another user of
// its folder, under the name of a journal, a kept-aside journal, a backup or
// a save's temporary file: it ends promptly, says what it found where it
// looks, and changes nothing but the book it was asked to write.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/store/planted_kinds.h"

namespace {

class SideFileSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "kestrel-planted-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  // Runs a shell line in the test folder, "KB" standing for kestrel-book,
  // its output kept outside the folder; the exit status, 124 when it hung.
  int Shell(const std::string& line) const {
    const std::string command = "cd '" + folder_ + "' && KB='timeout 20 " KESTREL_BOOK "' && (" + line +
                                ") > '" + folder_ + ".out' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Said() const {
    std::ifstream in(folder_ + ".out", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::filesystem::remove(folder_ + ".out");
    return bytes.str();
  }

  std::string folder_;
};

TEST_F(SideFileSafetyTest, PlantedSideFileIsNeitherFollowedNorReadNorRemoved) {
  for (const char* side : {".journal", ".journal.1", ".bak", ".kestrel-save-Abc123"}) {
    for (const planted::Row& row : planted::Rows()) {
      SCOPED_TRACE(std::string(side) + ": " + row.name);
      std::filesystem::remove_all(folder_);
      std::filesystem::create_directory(folder_);
      std::ofstream(folder_ + "/book.txt") << "Adams\t\n";
      ASSERT_EQ(Shell("$KB pack phone.dat < book.txt"), 0) << Said();
      const std::string book = folder_ + "/phone.dat";
      ASSERT_EQ(planted::Plant(row.kind, book + side, book, folder_), "");
      auto expected = planted::Snapshot(folder_);

      EXPECT_EQ(Shell("$KB check phone.dat"), 0);
      const std::string said = Said();
      if (std::string(side) == ".journal") {
        EXPECT_NE(said.find(std::string("journal: phone.dat.journal: not read: ") + row.words +
                            ", not a journal of this user's\n"),
                  std::string::npos)
            << said;
      }
      EXPECT_EQ(planted::Snapshot(folder_), expected) << "check changed the folder";

      std::ofstream(folder_ + "/book.txt") << "Brown\t\n";
      EXPECT_EQ(Shell("$KB pack phone.dat < book.txt"), 0) << Said();
      const auto after = planted::Snapshot(folder_);
      EXPECT_NE(after.at("/phone.dat"), expected.at("/phone.dat")) << "the book was not written";
      expected["/phone.dat"] = after.at("/phone.dat");
      expected["/book.txt"] = after.at("/book.txt");
      EXPECT_EQ(after, expected) << "pack changed more than the book";
    }
  }
}

}  // namespace
