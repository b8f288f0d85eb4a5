// The lock file that names a book's holder to other desks: its line, the
// words made of it, and its life beside a book that a store locks.
#include "store/lock_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "store/holder_words.h"
#include "store_fixture.h"
#ifndef _WIN32
#include "tests/store/planted_kinds.h"
#endif

namespace {

// Local time as UTC for the test's words; the zone before is restored.
class UtcZone {
 public:
  UtcZone() {
    if (const char* zone = std::getenv("TZ")) before_ = zone;
    SetZone("UTC0");
  }
  ~UtcZone() { SetZone(before_ ? before_->c_str() : nullptr); }

 private:
  static void SetZone(const char* zone) {  // nullptr: the system's own
#ifdef _WIN32
    _putenv_s("TZ", zone ? zone : "");
    _tzset();
#else
    if (zone) {
      setenv("TZ", zone, 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
#endif
  }
  std::optional<std::string> before_;
};

constexpr std::int64_t kMorning = 1796803500;  // 2026-12-09 08:05:00 UTC

TEST(HolderWordsTest, NameTheHolderOrFallBackToTheProcess) {
  const UtcZone utc;
  const lock_file::Holder anna{"anna", "DESK-3", 4711, kMorning};
  struct Case {
    const char* name;
    bool session;
    long processId;
    std::optional<lock_file::Holder> holder;
    std::int64_t now;
    const char* words;
  } cases[] = {
      {"today", true, 4711, anna, kMorning + 3600, "open in Kestrel on DESK-3 by anna since 08:05"},
      {"since yesterday", true, 0, anna, kMorning + 86400,
       "open in Kestrel on DESK-3 by anna since 08:05 on 9 December 2026"},
      {"a command", false, 0, anna, kMorning,
       "being written by another program on DESK-3 by anna since 08:05"},
      {"no file, process known", true, 4711, std::nullopt, kMorning,
       "open in Kestrel (process 4711)"},
      {"no file, nothing known", true, 0, std::nullopt, kMorning, "open in Kestrel"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lock_file::HolderWords(c.session, c.processId, c.holder, c.now), c.words) << c.name;
  }
}

TEST(LockFileLineTest, OnlyOneWellFormedLineNamesAHolder) {
  const lock_file::Holder anna{"anna", "DESK-3", 4711, kMorning};
  EXPECT_EQ(lock_file::Format(anna), "anna\tDESK-3\t4711\t2026-12-09T08:05:00Z\n");
  EXPECT_EQ(lock_file::Parse(lock_file::Format(anna)), anna);
  // A tab in a name would split the line: it becomes a blank.
  EXPECT_EQ(lock_file::Parse(lock_file::Format({"an\tna", "DESK-3", 1, kMorning}))->user, "an na");
  for (const char* bad : {
           "anna\tDESK-3\t4711\n",                              // a field short
           "anna\tDESK-3\t4711\t2026-12-09T08:05:00Z\tx\n",     // a field more
           "\tDESK-3\t4711\t2026-12-09T08:05:00Z\n",            // no user
           "anna\tDESK-3\t47x1\t2026-12-09T08:05:00Z\n",        // no number
           "anna\tDESK-3\t4711\t2026-02-30T08:05:00Z\n",        // no such day
           "an\x1bna\tDESK-3\t4711\t2026-12-09T08:05:00Z\n",    // a control character
           "an\xffna\tDESK-3\t4711\t2026-12-09T08:05:00Z\n",    // not UTF-8
           "anna\tDESK-3\t4711\t2026-12-09T08:05:00Z\nmore\n",  // two lines
       }) {
    EXPECT_FALSE(lock_file::Parse(bad).has_value()) << bad;
  }
}

class LockFileTest : public StoreTest {
 protected:
  std::string LockPath() const { return lock_file::PathFor(path_); }
};

// The file lives exactly as long as the lock, names this process, and
// replaces one that a holder that died left behind.
TEST_F(LockFileTest, WrittenWhileTheLockIsHeldReplacingAStaleOne) {
  Save({});
  std::ofstream(LockPath(), std::ios::binary) << "ghost\telsewhere\t1\t2020-01-01T00:00:00Z\n";
  RecordStore store = Store();
  ASSERT_EQ(store.Lock(platform::BookLock::Purpose::session).status(),
            platform::BookLock::Status::held);
  const std::optional<lock_file::Holder> named = lock_file::Parse(ReadFile(LockPath()));
  ASSERT_TRUE(named.has_value()) << ReadFile(LockPath());
  EXPECT_EQ(named->user, platform::UserName());
  EXPECT_EQ(named->computer, platform::ComputerName());
  EXPECT_EQ(named->processId, platform::ProcessId());
  EXPECT_LE(std::abs(named->since - static_cast<std::int64_t>(std::time(nullptr))), 60);
#ifndef _WIN32
  EXPECT_EQ(Mode(LockPath()), 0644u) << "the folder's users read who holds the book";
#endif
  store.Unlock();
  EXPECT_FALSE(std::filesystem::exists(LockPath()));
  {
    RecordStore again = Store();
    again.Lock(platform::BookLock::Purpose::write);
    EXPECT_TRUE(std::filesystem::exists(LockPath()));
  }
  EXPECT_FALSE(std::filesystem::exists(LockPath())) << "the store's end lets the lock go";
}

// No lock, no holder: a book not there yet has no lock file.
TEST_F(LockFileTest, NoneWithoutABookToLock) {
  RecordStore store = Store();
  EXPECT_EQ(store.Lock(platform::BookLock::Purpose::session).status(),
            platform::BookLock::Status::missing);
  EXPECT_FALSE(std::filesystem::exists(LockPath()));
}

#ifndef _WIN32
// Whatever another user of the folder plants at the lock file's name goes by
// its name, and nothing it points at is touched; a folder there stays, and
// the holder is then named by no file.
TEST_F(LockFileTest, WhateverIsPlantedAtItsNameGoesByNameNeverFollowed) {
  for (const planted::Row& row : planted::Rows()) {
    SCOPED_TRACE(row.name);
    Save({});
    std::filesystem::remove_all(LockPath());
    ASSERT_EQ(planted::Plant(row.kind, LockPath(), path_, folder_), "");
    auto expected = planted::Snapshot(folder_);
    {
      RecordStore store = Store();
      ASSERT_EQ(store.Lock(platform::BookLock::Purpose::session).status(),
                platform::BookLock::Status::held);
      EXPECT_EQ(platform::InspectSideFile(LockPath()).trusted(), row.kind != planted::Kind::folder);
    }
    if (row.kind != planted::Kind::folder) expected.erase("/phone.dat.lock");
    EXPECT_EQ(planted::Snapshot(folder_), expected);
  }
}
#endif

}  // namespace
