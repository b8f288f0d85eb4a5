// kestrel-book as a user runs it: arguments, standard streams, exit codes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "run_program.h"
#include "store/journal.h"
#include "store/journal_file.h"
#include "store/lock_file.h"
#include "store/platform/platform.h"
#include "store/record_store.h"
#include "store/record_text.h"
#include "tests/support/temp_folder.h"
#include "tools/book_generator.h"

namespace {

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class KestrelBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.Make("kestrel-book"));
    folder_ = temp_.path();
  }
  void TearDown() override { temp_.Remove(); }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
  }

  // Runs kestrel-book with `args` in the test folder, `input` on standard input.
  Outcome Book(const std::string& args, const std::string& input = "") {
    Write(".in", input);
    Outcome run;
    run.exitCode = RunProgram(folder_, KESTREL_BOOK, args, ".in", ".out", ".err");
    run.out = Read(Path(".out"));
    run.err = Read(Path(".err"));
    return run;
  }

  TempFolder temp_;
  std::string folder_;
};

TEST_F(KestrelBookTest, VersionAndHelp) {
  const Outcome version = Book("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "kestrel-book 1.0.0\n");
  const Outcome help = Book("--help");
  EXPECT_EQ(help.exitCode, 0);
  for (const char* command : {"check [FILE]", "pack FILE", "unpack [FILE]"}) {
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  }
  EXPECT_EQ(help.err, "");
}

TEST_F(KestrelBookTest, PackThenUnpackGivesTheTextByteForByte) {
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 131) % 256);
  for (const std::string& text : {BookText(GenerateBook(500)), binary, std::string()}) {
    // Empty input over a book of records is refused without --force.
    const Outcome pack = Book(text.empty() ? "pack --force book.dat" : "pack book.dat", text);
    ASSERT_EQ(pack.exitCode, 0) << pack.err;
    EXPECT_EQ(pack.out, "");
    const Outcome unpack = Book("unpack book.dat");
    EXPECT_EQ(unpack.exitCode, 0) << unpack.err;
    EXPECT_EQ(unpack.out, text);
    EXPECT_EQ(unpack.err, "");
  }
}

// A book whose whole path is longer than the 260 characters of old
// Windows paths: written, backed up and read again in place.
TEST_F(KestrelBookTest, ABookPathLongerThan260CharactersWorks) {
  const std::string deep = std::string(120, 'd') + "/" + std::string(120, 'e');
  std::filesystem::create_directories(Path(deep));
  const std::string book = deep + "/phone.dat";
  ASSERT_GT(std::filesystem::absolute(Path(book)).string().size(), 260u);
  const std::string text = BookText(GenerateBook(20));
  for (int write = 0; write < 2; ++write) {  // the second replaces the first, with a backup
    const Outcome pack = Book("pack --force " + book, text);
    ASSERT_EQ(pack.exitCode, 0) << pack.err;
  }
  const Outcome unpack = Book("unpack " + book);
  EXPECT_EQ(unpack.exitCode, 0) << unpack.err;
  EXPECT_EQ(unpack.out, text);
  // Shorter paths for the clean-up, which this test program does without
  // the long-path setting of kestrel-book's manifest.
  std::filesystem::rename(Path(std::string(120, 'd')), Path("d"));
}

TEST_F(KestrelBookTest, CheckOfASoundBookSaysWhatItHolds) {
  Book("pack phone.dat", "A\tB" + std::string(16, '\t') + "\nsecond line\n");
  const Outcome check = Book("check");  // phone.dat of the current folder
  EXPECT_EQ(check.exitCode, 0);
  EXPECT_EQ(check.err, "");
  for (const char* line : {"file: phone.dat\n", "checksum: 0x", " (ok)\n",
                           "table entries: ", "payload: ", "records: 2\n",
                           "longest line: 19 characters\n", "status: sound\n"}) {
    EXPECT_NE(check.out.find(line), std::string::npos) << line << " in\n" << check.out;
  }
}

// A journal beside the book: a running session's is named as such; one left
// by a session that died is reported, and no command touches it.
TEST_F(KestrelBookTest, CheckReportsAJournalLeftBehindAndPackLeavesItAlone) {
  Book("pack phone.dat", "A\tB" + std::string(16, '\t') + "\n");
  const std::string journalPath = journal::PathFor(Path("phone.dat"));
  {
    journal::FileSink file(journalPath);
    journal::Session session(file);
    ASSERT_TRUE(session.Begin(platform::StampOf(Path("phone.dat"))));
    ASSERT_TRUE(session.Record(0, StudentRecord{}));
    ASSERT_TRUE(session.Record(1, StudentRecord{}));
  }
  const std::string left = Read(journalPath);
  EXPECT_NE(Book("check").out.find("journal: phone.dat.journal: 2 changes of a Kestrel session "
                                   "that ended without saving\n"),
            std::string::npos);
  {
    const platform::BookLock running =
        platform::BookLock::Acquire(Path("phone.dat"), platform::BookLock::Purpose::session);
    ASSERT_EQ(running.status(), platform::BookLock::Status::held);
    const Outcome check = Book("check");
    EXPECT_NE(check.out.find("journal: phone.dat.journal: kept by the running Kestrel session"),
              std::string::npos) << check.out;
  }
  Book("pack phone.dat", "C\tD" + std::string(16, '\t') + "\n");
  EXPECT_EQ(Read(journalPath), left) << "pack touched the journal";
  const Outcome check = Book("check");
  EXPECT_NE(check.out.find("without saving, made to the book as it was before it last changed\n"),
            std::string::npos) << check.out;
  EXPECT_EQ(check.exitCode, 0);
}

// While a desk holds the book, the commands that write it are refused with
// the holder's user and computer, and those that only read go on at once.
// The line a holder that died left is no holder: the desk's own replaces it.
TEST_F(KestrelBookTest, WhileADeskHoldsTheBookWritesNameItsUserAndComputerAndReadsGoOn) {
  const std::string adams = "S1\tAdams" + std::string(16, '\t') + "\n";
  Book("pack phone.dat", adams);
  Write("a.csv", "last_name\nBaker\n");
  Write("phone.dat.lock", "ghost\telsewhere\t1\t2020-01-01T00:00:00Z\n");
  const std::string before = Read(Path("phone.dat"));
  {
    RecordStore desk(Path("phone.dat").c_str());
    ASSERT_EQ(desk.Lock(platform::BookLock::Purpose::session).status(),
              platform::BookLock::Status::held);
    const std::string named = "kestrel-book: phone.dat is open in Kestrel on " +
                              platform::ComputerName() + " by " + platform::UserName() + " since ";
    for (const char* write : {"import a.csv", "pack phone.dat"}) {
      const Outcome refused = Book(write, adams);
      EXPECT_EQ(refused.exitCode, 1) << write;
      EXPECT_EQ(refused.err.substr(0, named.size()), named) << write;
      EXPECT_TRUE(refused.err.ends_with("; close it first\n")) << refused.err;
    }
    EXPECT_EQ(Read(Path("phone.dat")), before);
    const struct {
      const char* command;
      const char* shows;
    } reads[] = {{"check", "status: sound"},
                 {"list", "Adams"},
                 {"search --last-name ada", "Adams"},
                 {"export", "Adams"}};
    for (const auto& read : reads) {
      const Outcome done = Book(read.command);
      EXPECT_EQ(done.exitCode, 0) << read.command << ": " << done.err;
      EXPECT_NE(done.out.find(read.shows), std::string::npos) << read.command;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(lock_file::PathFor(Path("phone.dat"))));
  EXPECT_EQ(Book("import a.csv").exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(lock_file::PathFor(Path("phone.dat"))))
      << "the command's own lock file outlived it";
}

TEST_F(KestrelBookTest, PackedFileIsOwnerOnly) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX file modes; on Windows a new book takes its folder's access rights";
#endif
  Book("pack new.dat", "x");
  EXPECT_EQ(Book("check new.dat").exitCode, 0);
  struct stat info {};
  stat(Path("new.dat").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// One parser for every command: "--" ends the options, values attach to their
// option, and "-" stands for the standard streams.
TEST_F(KestrelBookTest, OptionFormsAndStandardStreams) {
  ASSERT_EQ(Book("pack sound.dat", "a\tb\t\n").exitCode, 0);
  const std::string sound = Read(Path("sound.dat"));
  const Outcome packed = Book("pack -", "a\tb\t\n");
  EXPECT_EQ(packed.exitCode, 0) << packed.err;
  EXPECT_EQ(packed.out, sound);
  EXPECT_EQ(Book("unpack -", sound).out, "a\tb\t\n");
  EXPECT_EQ(Book("unpack - extra").err, "kestrel-book: unpack takes at most one file\n");

  Write("-x", sound);
  EXPECT_EQ(Book("check -- -x").exitCode, 0);
  EXPECT_EQ(Book("unpack -- -x").out, "a\tb\t\n");

  const Outcome imported = Book("import -fbook.dat -", "last_name\nLee\n");
  EXPECT_EQ(imported.exitCode, 0) << imported.err;
  for (const char* list : {"list -fbook.dat", "list --file=book.dat", "list --file book.dat"}) {
    EXPECT_EQ(Book(list).out, "Lee, : \n") << list;
  }
  const Outcome exported = Book("export --file=book.dat -o -");
  EXPECT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_NE(exported.out.find("\r\n,Lee,"), std::string::npos) << exported.out;
  EXPECT_EQ(Book("list --file=").err, "kestrel-book: --file= needs a value\n");
}

// A script must never read success from a run whose output was lost: a full
// disk, or a pipe whose reader has gone while SIGPIPE is ignored.
TEST_F(KestrelBookTest, AFailedWriteOfTheOutputIsExit1InEveryCommand) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX device nodes, pipes and signals";
#else
  // A device like /dev/full, made here so that nothing writes to a real one.
  if (mknod(Path("full").c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "cannot make a device node here (needs root)";
  }
  ASSERT_EQ(Book("pack phone.dat", "Lee\tBo\t\nLee\tBo\t\n").exitCode, 0);
  for (const char* args : {"--help", "--version", "check", "unpack", "list", "export",
                           "export --vcard", "search", "duplicates", "export -o -"}) {
    const std::string command = "cd '" + folder_ + "' && '" KESTREL_BOOK "' " + args +
                                " > full 2> .err";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << args;
    EXPECT_EQ(Read(Path(".err")), "kestrel-book: standard output: no space left on device\n")
        << args;
  }

  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  close(fds[0]);  // the reader is gone before anything is written
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGPIPE, SIG_IGN);  // stays ignored across exec
    dup2(fds[1], STDOUT_FILENO);
    const int err = open(Path(".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(err, STDERR_FILENO);
    execl(KESTREL_BOOK, "kestrel-book", "--version", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
  // The reader went away, which is no news to the user: no message.
  EXPECT_EQ(Read(Path(".err")), "");

  // The same failure is the same code: a book that cannot be created is 2
  // for import as for pack.
  const Outcome imported = Book("import -f no/such/book.dat -", "last_name\nLee\n");
  EXPECT_EQ(imported.exitCode, 2);
  EXPECT_EQ(imported.err, "kestrel-book: no/such/book.dat: cannot save: no such file or directory\n");
#endif
}

// Error paths follow.

struct ErrorCase {
  const char* name;
  std::string file;  // contents of phone.dat; empty: no file
  std::string args;
  int exitCode;
  std::string err;
  std::string out;
};

TEST_F(KestrelBookTest, ErrorsHaveExactMessagesAndCodes) {
  const std::string abracadabra = "abracadabra";
  Book("pack sound.dat", abracadabra);
  const std::string sound = Read(Path("sound.dat"));
  std::string badChecksum = sound;
  badChecksum[0] = static_cast<char>(badChecksum[0] + 1);

  // The system's words for a missing file: "no such file or directory" on
  // POSIX, Windows' own on Windows.
  std::string missing = platform::ErrorText(ENOENT);
  missing[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(missing[0])));
  const ErrorCase cases[] = {
      {"no command", "", "", 2, "", ""},
      {"unknown command", "", "frob", 2,
       "kestrel-book: unknown command 'frob' (see kestrel-book --help)\n", ""},
      {"check: missing file", "", "check", 2,
       "kestrel-book: phone.dat: " + missing + "\n", ""},
      {"check: two files", "", "check a b", 2, "kestrel-book: check takes at most one file\n", ""},
      {"unpack: missing file", "", "unpack nofile.dat", 2,
       "kestrel-book: nofile.dat: " + missing + "\n", ""},
      {"pack: no file", "", "pack", 2, "kestrel-book: pack needs exactly one file\n", ""},
      {"pack: missing folder", "", "pack no/such/book.dat", 2,
       "kestrel-book: no/such/book.dat: cannot create: " + missing + "\n", ""},
      {"unpack: payload cut short", sound.substr(0, 33), "unpack", 1,
       "kestrel-book: phone.dat: payload cut short: 1 of 3 bytes\n", "abra"},
      {"unpack: bad checksum", badChecksum, "unpack", 1, "kestrel-book: phone.dat: bad checksum\n",
       ""},
      {"unpack: short header", "abc", "unpack", 1,
       "kestrel-book: phone.dat: shorter than the 7-byte header: 3 bytes\n", ""},
      {"check: table cut short", sound.substr(0, 12), "check", 1,
       "kestrel-book: phone.dat: table cut short: 5 of 25 bytes\n", ""},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(Path("phone.dat").c_str());
    if (!c.file.empty()) Write("phone.dat", c.file);
    const Outcome run = Book(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    if (c.name == std::string("no command")) {
      EXPECT_NE(run.err.find("usage: kestrel-book"), std::string::npos);
      continue;
    }
    EXPECT_EQ(run.err, c.err);
    if (c.args.rfind("check", 0) != 0) {
      EXPECT_EQ(run.out, c.out);
    }
  }
}

TEST_F(KestrelBookTest, CheckOfADamagedBookSaysWhere) {
  Book("pack phone.dat", "abracadabra");
  const std::string sound = Read(Path("phone.dat"));
  Write("phone.dat", sound.substr(0, 33));
  const Outcome check = Book("check");
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_NE(check.out.find("payload: 1 of 3 bytes\n"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("status: damaged: payload cut short: 1 of 3 bytes\n"),
            std::string::npos);
}

}  // namespace

namespace {

// Regression: "pack --help" wrote a book named "--help", and "check --help"
// looked for a file of that name, instead of showing the command's help.
TEST_F(KestrelBookTest, OptionsAreNeverTakenForFileNames) {
  for (const char* command : {"check", "unpack", "pack"}) {
    const Outcome help = Book(std::string(command) + " --help");
    EXPECT_EQ(help.exitCode, 0) << command;
    EXPECT_EQ(help.out.rfind(std::string("usage: kestrel-book ") + command, 0), 0u) << command;

    const Outcome unknown = Book(std::string(command) + " --frobnicate");
    EXPECT_EQ(unknown.exitCode, 2) << command;
    EXPECT_EQ(unknown.err, std::string("kestrel-book: unknown option '--frobnicate' for ") + command +
                               " (see kestrel-book --help)\n")
        << command;
  }
  struct stat info;
  EXPECT_NE(stat(Path("--help").c_str(), &info), 0) << "no book may be named after an option";
  EXPECT_NE(stat(Path("--frobnicate").c_str(), &info), 0);
}

// Regression: listing a book that failed its checksum put the program's
// checksum notice on standard output, among the data a script reads.
TEST_F(KestrelBookTest, ADamagedBookKeepsStandardOutputForData) {
  Write("phone.dat", std::string("\x07\x00\x00\x00\x00\x00\x00", 7));  // checksum 7, sum 0
  for (const char* command : {"list", "export"}) {
    const Outcome run = Book(command);
    EXPECT_EQ(run.exitCode, 1) << command;
    EXPECT_EQ(run.out, "") << command;
    EXPECT_EQ(run.err, "kestrel-book: phone.dat: bad checksum\n") << command;
  }
}

}  // namespace
