// Saves that fail part way or cannot start: the old file stays whole, no
// temporary file is left, and the reason reaches the caller.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "store/record_store.h"
#include "store_fixture.h"
#include "tests/store/in_child.h"
#include "tools/book_generator.h"

namespace {

std::string Outcome(const SaveResult& result) { return result.ok() ? "ok" : result.reason; }

class SaveFailureTest : public StoreTest {
 protected:
  // Saves `records` from a child whose files may grow to `limit` bytes.
  std::string SaveWithSizeLimit(const RecordList& records, rlim_t limit) {
    return InChild([&] {
      signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
      const rlimit size{limit, limit};
      setrlimit(RLIMIT_FSIZE, &size);
      RecordStore store = Store();
      store.records = records;
      return Outcome(store.Save());
    });
  }

  // Saves from a child that cannot write into the folder: permission bits
  // do not stop root, so a root test drops to the unprivileged "nobody".
  std::string SaveAsUnprivileged(RecordStore& store) {
    return InChild([&] {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        return std::string("no setuid");
      return Outcome(store.Save());
    });
  }
};

TEST_F(SaveFailureTest, WriteFailingAtAnyPointLeavesTheOldFileWhole) {
  Save(GenerateBook(30));
  const std::string old = FileBytes();
  const RecordList newer = GenerateBook(300, /*seed=*/99);
  std::string newFile;
  {
    const std::string probe = folder_ + "/probe.dat";
    RecordStore store(probe.c_str());
    store.SetSyncOnSave(false);
    store.records = newer;
    ASSERT_TRUE(store.Save().ok());
    newFile = ReadFile(probe);
    unlink(probe.c_str());
  }
  // Fail after N bytes for N over the whole new file, like a device that fills up.
  const std::size_t step = newFile.size() / 60 + 1;
  for (std::size_t limit = 0; limit < newFile.size(); limit += limit < 16 ? 1 : step) {
    SCOPED_TRACE("limit " + std::to_string(limit));
    ASSERT_EQ(SaveWithSizeLimit(newer, limit), "File too large");
    ASSERT_EQ(FileBytes(), old);
    ASSERT_EQ(Names(), (std::vector<std::string>{"phone.dat"})) << "temporary file left";
  }
  EXPECT_EQ(SaveWithSizeLimit(newer, newFile.size()), "ok");
  EXPECT_EQ(FileBytes(), newFile);
}

TEST_F(SaveFailureTest, ReadOnlyFolderLeavesTheOldFileWhole) {
  Save(GenerateBook(10));
  const std::string old = FileBytes();
  RecordStore store = Load();
  store.records = GenerateBook(20, /*seed=*/5);
  chmod(folder_.c_str(), 0555);
  EXPECT_EQ(SaveAsUnprivileged(store), "Permission denied");
  chmod(folder_.c_str(), 0700);
  EXPECT_EQ(FileBytes(), old);
  EXPECT_EQ(Names(), (std::vector<std::string>{"phone.dat"}));
}

TEST_F(SaveFailureTest, DamagedFileThatCannotBeKeptAsideIsNotReplaced) {
  WriteFileBytes("not a book");
  testing::internal::CaptureStdout();  // the checksum message
  RecordStore store = Load();
  testing::internal::GetCapturedStdout();
  ASSERT_TRUE(store.loadReport().damaged);
  chmod(folder_.c_str(), 0555);
  EXPECT_EQ(SaveAsUnprivileged(store), "cannot keep the damaged file aside: Permission denied");
  chmod(folder_.c_str(), 0700);
  EXPECT_EQ(FileBytes(), "not a book");
  EXPECT_EQ(Names(), (std::vector<std::string>{"phone.dat"}));
}

}  // namespace
