// kestrel-book when someone else touches the book: other writers, the
// program holding it open, FIFOs and devices in its place, too little memory,
// and output that would overwrite a book.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "store/book_file.h"
#include "store/record_store.h"
#include "tests/store/session_holder.h"
#include "tests/support/temp_folder.h"

namespace {

struct Outcome {
  int exitCode = -1;
  std::string err;
};

class BookSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.Make("kestrel-safety"));
    folder_ = temp_.path();
  }
  void TearDown() override { temp_.Remove(); }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
  }
  // Runs a shell line in the test folder, "KB" standing for kestrel-book;
  // standard input is empty unless the line says otherwise.
  Outcome Shell(const std::string& line) const {
    const std::string command = "cd '" + folder_ + "' && KB='" KESTREL_BOOK "' && (" + line +
                                ") < /dev/null > .out 2> .err";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(".err")};
  }
  std::size_t Records(const std::string& name) const {
    RecordStore store(Path(name).c_str());
    store.SetAnnounceBadChecksum(false);
    store.Load();
    return store.records.size();
  }
  void WriteBookText(const std::string& name, const std::string& text) const {
    ASSERT_TRUE(
        CompressToFile(text.data(), static_cast<std::int32_t>(text.size()), Path(name)).ok());
  }

  TempFolder temp_;
  std::string folder_;
};

std::string CsvRows(const char* prefix, int rows) {
  std::string csv = "last_name\n";
  for (int i = 0; i < rows; ++i) csv += prefix + std::to_string(i) + "\n";
  return csv;
}

// Symptom: two imports at once both said "added 20 records", and one
// writer's rows were lost.
// The first round creates the book: both writers find none.
TEST_F(BookSafetyTest, ConcurrentImportsKeepEveryRow) {
  Write("a.csv", CsvRows("A", 20));
  Write("b.csv", CsvRows("B", 20));
  for (int round = 1; round <= 8; ++round) {
    const Outcome both = Shell("$KB import a.csv & $KB import b.csv & wait");
    ASSERT_EQ(both.err, "") << "round " << round;
    ASSERT_EQ(Records("phone.dat"), 40u * static_cast<unsigned>(round)) << "round " << round;
  }
}

// Symptom: a write while the program had the book open went ahead, and the
// program's save later replaced it. The refusal names the holder's user and
// computer; the lock file of a holder that was killed is stale and ignored.
TEST_F(BookSafetyTest, WriteWhileKestrelHasTheBookFailsAtOnceUntilItsHolderDies) {
  WriteBookText("phone.dat", "First\t\n");
  Write("a.csv", CsvRows("A", 3));
  const std::string before = Read("phone.dat");
  const pid_t holder = HoldSession(Path("phone.dat"));
  ASSERT_GT(holder, 0);
  const std::string named = "kestrel-book: phone.dat is open in Kestrel on " +
                            platform::ComputerName() + " by " + platform::UserName() + " since ";
  for (const char* write : {"$KB import a.csv", "$KB pack phone.dat < a.csv"}) {
    const Outcome refused = Shell(write);
    EXPECT_EQ(refused.exitCode, 1) << write;
    EXPECT_EQ(refused.err.substr(0, named.size()), named) << refused.err;
    EXPECT_TRUE(refused.err.ends_with("; close it first\n")) << refused.err;
    EXPECT_EQ(Read("phone.dat"), before) << write;
  }
  kill(holder, SIGKILL);  // the system lets a dead holder's lock go; its lock file stays
  waitpid(holder, nullptr, 0);
  ASSERT_TRUE(std::filesystem::exists(Path("phone.dat.lock")));
  EXPECT_EQ(Shell("$KB import a.csv").exitCode, 0);
  EXPECT_EQ(Records("phone.dat"), 4u);
  EXPECT_FALSE(std::filesystem::exists(Path("phone.dat.lock")));
}

// Symptom: check waited up to 30 s for a command writing the book, as it
// took the lock itself to learn who held it. Reading commands never wait.
TEST_F(BookSafetyTest, CheckAsksWhoHoldsTheBookWithoutWaitingForAWriter) {
  WriteBookText("phone.dat", "First\t\n");
  Write("phone.dat.journal", "left by a session\n");  // what makes check ask about the lock
  const pid_t writer = HoldBook(Path("phone.dat"), platform::BookLock::Purpose::write);
  ASSERT_GT(writer, 0);
  const Outcome checked = Shell("timeout 5 $KB check phone.dat");
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  EXPECT_EQ(checked.exitCode, 0) << checked.err;
}

// Symptom: every command blocked for ever in open() on a FIFO, and read
// /dev/zero until memory ran out.
TEST_F(BookSafetyTest, FifoOrDeviceAsTheBookIsRefusedAtOnce) {
  ASSERT_EQ(mkfifo(Path("fifo.dat").c_str(), 0600), 0);
  std::vector<std::string> books = {"fifo.dat"};
  if (geteuid() == 0) {
    ASSERT_EQ(mknod(Path("zero.dat").c_str(), S_IFCHR | 0600, makedev(1, 5)), 0);
    books.push_back("zero.dat");
  }
  Write("a.csv", CsvRows("A", 1));
  for (const std::string& book : books) {
    const char* kind = book == "fifo.dat" ? "a FIFO" : "a device";
    for (const char* command : {"list -f ", "import a.csv -f ", "check ", "unpack "}) {
      const Outcome refused = Shell(std::string("timeout 20 $KB ") + command + book);
      EXPECT_EQ(refused.exitCode, 2) << command << book;
      EXPECT_EQ(refused.err, "kestrel-book: " + book + ": not a regular file but " + kind + "\n")
          << command << book;
    }
  }
}

// Symptom: as root, export -o /dev/null turned the device into a regular
// file holding the CSV.
TEST_F(BookSafetyTest, OutputToAFifoOrDeviceIsWrittenStraightToIt) {
  WriteBookText("phone.dat", "Adams\t\n");
  ASSERT_EQ(mkfifo(Path("out.fifo").c_str(), 0600), 0);
  const Outcome exported =
      Shell("timeout 20 cat out.fifo > got.csv & $KB export -o out.fifo; wait");
  EXPECT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_NE(Read("got.csv").find("Adams"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(stat(Path("out.fifo").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
  ASSERT_EQ(mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  for (const char* write : {"$KB export -o null", "$KB pack null < phone.dat"}) {
    EXPECT_EQ(Shell(write).exitCode, 0) << write;
    ASSERT_EQ(stat(Path("null").c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << write;
  }
}

// Symptom: export -o phone.dat turned the book into CSV, and pack phone.dat
// </dev/null emptied it; both exited 0. Then a damaged book was overwritten
// by export, and a blank line packed over a book left one empty record.
TEST_F(BookSafetyTest, TextOverABookAndEmptyPackOverRecordsNeedForce) {
  struct Row {
    const char* target;   // the file written over
    std::string holds;    // "book", "damaged", "empty book" or text
    const char* command;  // "OUT" stands for the target
    const char* refusal;  // after "kestrel-book: OUT: ", or nullptr when it is written
  };
  const Row rows[] = {
      {"phone.dat", "book", "$KB export -o OUT", "is a Kestrel book; use --force to replace it"},
      {"notes.csv", "book", "$KB export -o OUT", "is a Kestrel book; use --force to replace it"},
      {"phone.dat", "damaged", "$KB export -o OUT", "is a Kestrel book; use --force to replace it"},
      {"phone.dat", "empty book", "$KB export -o OUT",
       "is a Kestrel book; use --force to replace it"},
      {"out.csv", "student_no,last_name\r\n", "$KB export -o OUT", nullptr},
      // A workbook is a zip: binary, but no book.
      {"out.xlsx", std::string("PK\x03\x04\x14\0\0\0\x08\0", 10), "$KB export -o OUT", nullptr},
      {"phone.dat", "book", "$KB export --force -o OUT", nullptr},
      {"phone.dat", "damaged", "$KB export --force -o OUT", nullptr},
      {"phone.dat", "book", "$KB pack OUT",
       "standard input is empty and would empty the book; use --force to do so"},
      {"phone.dat", "book", "printf '\\n' | $KB pack OUT",
       "standard input holds no record and would empty the book; use --force to do so"},
      {"phone.dat", "book", "printf '\\t\\t\\r\\n\\n' | $KB pack OUT",
       "standard input holds no record and would empty the book; use --force to do so"},
      {"phone.dat", "book", "$KB pack --force OUT", nullptr},
      {"phone.dat", "book", "printf '\\n' | $KB pack --force OUT", nullptr},
      {"phone.dat", "empty book", "printf '\\n' | $KB pack OUT", nullptr},
  };
  WriteBookText("src.dat", "Zed\t\n");  // what export writes
  for (const Row& row : rows) {
    std::filesystem::remove(Path(row.target));
    if (row.holds == "book" || row.holds == "damaged") {
      WriteBookText(row.target, "Adams\t\n");
    } else if (row.holds == "empty book") {
      WriteBookText(row.target, "");
    } else {
      Write(row.target, row.holds);
    }
    if (row.holds == "damaged") {  // a wrong checksum
      std::string bytes = Read(row.target);
      bytes[0] = static_cast<char>(bytes[0] + 1);
      Write(row.target, bytes);
    }
    const std::string before = Read(row.target);
    std::string command = row.command;
    command.replace(command.find("OUT"), 3, row.target);
    const Outcome run =
        Shell(command.starts_with("$KB export") ? command + " -f src.dat" : command);
    if (row.refusal != nullptr) {
      EXPECT_EQ(run.exitCode, 2) << command << " over " << row.holds;
      EXPECT_EQ(run.err, "kestrel-book: " + std::string(row.target) + ": " + row.refusal + "\n")
          << command << " over " << row.holds;
      EXPECT_EQ(Read(row.target), before) << command << " over " << row.holds;
    } else {
      EXPECT_EQ(run.exitCode, 0) << command << " over " << row.holds << ": " << run.err;
      EXPECT_NE(Read(row.target), before) << command << " over " << row.holds;
    }
  }
}

// Symptom: a 1 MB book of empty lines (8 million 1.7 KB records) killed
// list with std::bad_alloc, and a CSV of blank lines aborted import.
TEST_F(BookSafetyTest, BooksTooLargeForMemoryAreRefusedAndImportStaysBounded) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space, which ulimit -v refuses";
#endif
  WriteBookText("phone.dat", std::string(std::size_t{1} << 23, '\n'));
  const Outcome listed = Shell("ulimit -v 2000000; $KB list");
  EXPECT_EQ(listed.exitCode, 1);
  EXPECT_EQ(listed.err.rfind("kestrel-book: phone.dat holds 8,388,608 records, which need 13.4 GB "
                             "of memory; only ",
                             0),
            0u)
      << listed.err;
  Write("blank.csv", "last_name\n" + std::string(std::size_t{20} << 20, '\n'));
  WriteBookText("small.dat", "Adams\t\n");
  const Outcome imported = Shell("ulimit -v 1000000; $KB import -f small.dat blank.csv");
  EXPECT_EQ(imported.exitCode, 0) << imported.err;
  EXPECT_EQ(Records("small.dat"), 1u);
}

// Symptom: import - from an endless device aborted with std::bad_alloc
// (exit 134). Every whole-input read stops at a bound the message names.
TEST_F(BookSafetyTest, EndlessInputStopsAtTheBoundAndWritesNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space, which ulimit -v refuses";
#endif
  if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
  ASSERT_EQ(mknod(Path("zero").c_str(), S_IFCHR | 0600, makedev(1, 5)), 0);
  WriteBookText("phone.dat", "Adams\t\n");
  const std::string book = Read("phone.dat");
  const struct {
    const char* command;
    const char* input;
  } rows[] = {
      {"$KB pack phone.dat < zero", "standard input"},
      {"$KB import - < zero", "standard input"},
      {"$KB import zero", "zero"},
  };
  for (const auto& row : rows) {
    const Outcome run = Shell(std::string("ulimit -v 200000; ") + row.command);
    EXPECT_EQ(run.exitCode, 1) << row.command;
    const std::string start = "kestrel-book: " + std::string(row.input) + ": longer than ";
    EXPECT_EQ(run.err.rfind(start, 0), 0u) << row.command << ": " << run.err;
    EXPECT_TRUE(run.err.ends_with(" MB, half the memory available; nothing was written\n"))
        << row.command << ": " << run.err;
    EXPECT_EQ(Read("phone.dat"), book) << row.command;
  }
}

// Symptom: a closed pipe ended kestrel-book by SIGPIPE (exit 141), and a full
// device gave only "write failed", without the system's reason.
TEST_F(BookSafetyTest, FailedWritesGiveExitOneAndTheReason) {
  if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
  ASSERT_EQ(mknod(Path("full").c_str(), S_IFCHR | 0600, makedev(1, 7)), 0);
  // More than a pipe or the standard output's buffer holds, so that the
  // writer is still writing when the reader has gone, and a write fails
  // before the last flush.
  std::string text;
  while (text.size() < (std::size_t{1} << 20))
    text += "Adams\tJo\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n";
  WriteBookText("phone.dat", text);
  const std::string kFull = "kestrel-book: standard output: no space left on device\n";
  const struct {
    const char* command;
    std::string err;
  } rows[] = {
      {"{ $KB unpack; echo $? > .rc; } | true", ""},
      {"{ $KB list; echo $? > .rc; } | true", ""},
      {"{ $KB export; echo $? > .rc; } | true", ""},
      {"$KB unpack > full; echo $? > .rc", kFull},
      {"$KB export > full; echo $? > .rc", kFull},
      {"$KB export -o full; echo $? > .rc", "kestrel-book: full: no space left on device\n"},
  };
  for (const auto& row : rows) {
    std::filesystem::remove(Path(".rc"));
    const Outcome run = Shell(row.command);
    EXPECT_EQ(Read(".rc"), "1\n") << row.command;
    EXPECT_EQ(run.err, row.err) << row.command;
  }
}

}  // namespace
