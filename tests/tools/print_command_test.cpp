// kestrel-book print as a user runs it: its refusals and exit codes, the
// PDF on standard output, and a book open in Kestrel still printable.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "run_program.h"
#include "store/platform/platform.h"
#include "store/record_store.h"
#include "tests/support/temp_folder.h"

namespace {

class PrintCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.Make("kestrel-book-print"));
    folder_ = temp_.path();
    RecordStore store((folder_ + "/phone.dat").c_str());
    store.SetSyncOnSave(false);
    StudentRecord record;
    std::strcpy(record.fields[lastName], "Adams");
    std::strcpy(record.fields[firstName], "Zo\xEB");
    std::strcpy(record.fields[address1], "1 Elm St");
    store.records.push_back(record);
    ASSERT_TRUE(store.Save().ok());
    std::ofstream(folder_ + "/.in") << "";
  }
  void TearDown() override { temp_.Remove(); }

  std::string Read(const std::string& name) const {
    std::ifstream in(folder_ + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  int Run(const std::string& args) {
    return RunProgram(folder_, KESTREL_BOOK, args, ".in", ".out", ".err");
  }

  TempFolder temp_;
  std::string folder_;
};

TEST_F(PrintCommandTest, RefusesWhatItCannotPrintWithUsageErrors) {
  struct Case {
    const char* args;
    const char* message;
  };
  const Case cases[] = {
      {"print -o a.pdf", "print needs --layout list, labels or cards"},
      {"print --layout list", "print needs -o OUT.pdf"},
      {"print --layout poster -o a.pdf", "--layout takes list, labels or cards, not 'poster'"},
      {"print --layout list --paper a5 -o a.pdf", "--paper takes a4 or letter, not 'a5'"},
      {"print --layout labels --landscape -o a.pdf", "--landscape is for --layout list"},
      {"print --layout list --to parent -o a.pdf", "--to is for --layout labels"},
      {"print --layout labels --to teacher -o a.pdf", "--to takes student or parent"},
      {"print --layout labels --paper a4 --skip 21 -o a.pdf", "from 0 to 20, not '21'"},
      {"print --layout labels --paper letter --skip 30 -o a.pdf", "from 0 to 29, not '30'"},
      {"print --layout labels --skip -1 -o a.pdf", "--skip takes a number"},
      {"print --layout labels --skip 2x -o a.pdf", "--skip takes a number"},
      {"print --layout list --gender", "--gender needs a value"},
      {"print --layout list -f none.dat -o a.pdf", "none.dat: no such file"},
      {"print --layout list -o phone.dat", "phone.dat: is a Kestrel book"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << c.args;
    EXPECT_NE(Read(".err").find(c.message), std::string::npos) << c.args << ": " << Read(".err");
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/a.pdf")) << c.args;
  }
}

TEST_F(PrintCommandTest, WritesTheSamePdfToAFileAndToStandardOutput) {
  ASSERT_EQ(Run("print --layout labels --paper letter --skip 29 -o a.pdf"), 0) << Read(".err");
  const std::string file = Read("a.pdf");
  EXPECT_EQ(file.rfind("%PDF-1.4\n", 0), 0u);
  ASSERT_EQ(Run("print --layout labels --paper letter --skip 29 -o -"), 0) << Read(".err");
  EXPECT_EQ(Read(".out"), file);
  EXPECT_NE(file.find("(Zo\xEB Adams)"), std::string::npos);
}

TEST_F(PrintCommandTest, PrintsABookThatKestrelHasOpen) {
  const platform::BookLock session =
      platform::BookLock::Acquire(folder_ + "/phone.dat", platform::BookLock::Purpose::session);
  if (session.status() != platform::BookLock::Status::held) GTEST_SKIP() << "no locks here";
  EXPECT_EQ(Run("print --layout cards --last-name ada -o a.pdf"), 0) << Read(".err");
  EXPECT_NE(Read("a.pdf").find("(Adams)"), std::string::npos);
  // A command that writes is refused meanwhile: the lock is real.
  EXPECT_EQ(Run("import -f phone.dat .in"), 1);
}

}  // namespace
