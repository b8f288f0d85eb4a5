// The session journal against a sink in memory: what it writes, what a
// crash can leave of it, and how it is replayed.
#include "store/journal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class MemorySink : public journal::Sink {
 public:
  std::string Start(std::string_view bytes) override {
    if (startError.empty()) bytes_.assign(bytes);
    return startError;
  }
  std::string Append(std::string_view bytes) override {
    if (appendError.empty()) bytes_.append(bytes);
    return appendError;
  }
  std::string Continue(std::uint64_t keepBytes) override {
    bytes_.resize(keepBytes);
    return {};
  }
  const std::string& bytes() const { return bytes_; }

  std::string startError;
  std::string appendError;

 private:
  std::string bytes_;
};

StudentRecord Named(const char* last, const char* first) {
  StudentRecord r;
  std::strcpy(r.fields[lastName], last);
  std::strcpy(r.fields[firstName], first);
  return r;
}

platform::FileStamp SomeStamp() {
  platform::FileStamp s;
  s.exists = true;
  s.volume = 0x801;
  s.file = 1234567;
  s.size = 4096;
  s.mtimeSeconds = 1796000000;
  s.mtimeNanoseconds = 999999999;
  return s;
}

class JournalTest : public ::testing::Test {
 protected:
  // A session on a book of two records that sets record 1, appends one,
  // deletes record 0.
  void WriteSession() {
    ASSERT_TRUE(session.Begin(SomeStamp()));
    StudentRecord edited = Named("Smith", "Anna");
    std::memset(edited.fields[address5], 'x', 99);  // a full field
    edited.fields[address5][99] = '\0';
    edited.fields[email][0] = '\xE9';  // Windows-1252 bytes pass as they are
    ASSERT_TRUE(session.Record(1, edited));
    ASSERT_TRUE(session.Record(2, Named("Young", "Zoe")));
    ASSERT_TRUE(session.Record(0, StudentRecord{}));
  }

  RecordList Book() {
    RecordList book;
    book.push_back(Named("Adams", "Al"));
    book.push_back(Named("Brown", "Bo"));
    return book;
  }

  MemorySink sink;
  journal::Session session{sink};
};

TEST_F(JournalTest, ReplayGivesTheBookOfTheSession) {
  WriteSession();
  const journal::Contents contents = journal::Parse(sink.bytes());
  ASSERT_TRUE(contents.headerValid);
  EXPECT_EQ(contents.book, SomeStamp());
  EXPECT_FALSE(contents.tornTail);
  ASSERT_EQ(contents.entries.size(), 3u);

  RecordList book = Book();
  EXPECT_EQ(journal::Replay(contents.entries, book), 3u);
  ASSERT_EQ(book.size(), 3u);
  EXPECT_TRUE(IsEmpty(book[0]));
  EXPECT_STREQ(book[1].fields[lastName], "Smith");
  EXPECT_EQ(std::string(book[1].fields[address5]), std::string(99, 'x'));
  EXPECT_STREQ(book[1].fields[email], "\xE9");
  EXPECT_STREQ(book[2].fields[firstName], "Zoe");
}

TEST_F(JournalTest, CarriedChangesFollowTheNewHeader) {
  WriteSession();
  const journal::Contents before = journal::Parse(sink.bytes());
  platform::FileStamp later = SomeStamp();
  later.mtimeSeconds += 1;
  MemorySink next;
  journal::Session again{next};
  ASSERT_TRUE(again.Begin(later, before.entries));
  ASSERT_TRUE(again.Record(3, Named("Last", "One")));
  const journal::Contents after = journal::Parse(next.bytes());
  EXPECT_EQ(after.book, later);
  ASSERT_EQ(after.entries.size(), 4u);
  EXPECT_STREQ(after.entries[3].record.fields[lastName], "Last");
}

// Error paths follow.

TEST_F(JournalTest, TornLastEntryIsIgnoredWhereverTheCrashCutIt) {
  WriteSession();
  const std::string whole = sink.bytes();
  const std::size_t lastEntry = whole.size() - journal::EncodeEntry(0, StudentRecord{}).size();
  for (std::size_t cut = lastEntry + 1; cut < whole.size(); ++cut) {
    const journal::Contents contents = journal::Parse(std::string_view(whole).substr(0, cut));
    ASSERT_EQ(contents.entries.size(), 2u) << "cut at " << cut;
    EXPECT_TRUE(contents.tornTail);
    EXPECT_EQ(contents.entryBytes, lastEntry - journal::EncodeHeader(SomeStamp()).size());
  }
  for (std::size_t at = lastEntry; at < whole.size(); ++at) {
    std::string damaged = whole;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
    EXPECT_EQ(journal::Parse(damaged).entries.size(), 2u) << "byte " << at << " changed";
  }
}

TEST_F(JournalTest, HeaderCutShortOrDamagedIsNoJournal) {
  WriteSession();
  const std::size_t header = journal::EncodeHeader(SomeStamp()).size();
  for (std::size_t at = 0; at < header; ++at) {
    std::string damaged = sink.bytes();
    damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
    EXPECT_FALSE(journal::Parse(damaged).headerValid) << "byte " << at;
    EXPECT_FALSE(journal::Parse(sink.bytes().substr(0, at)).headerValid) << "cut at " << at;
  }
}

// Symptom: a field of 100 bytes was read, its NUL landing on the next field.
TEST_F(JournalTest, FieldOfMoreThan99BytesIsNoEntry) {
  // An entry for record 0 whose first field holds `length` bytes of 'x',
  // its crc worked out here, apart from the journal's own.
  const auto entryWithField = [](std::size_t length) {
    std::string body(4, '\0');
    body.push_back(static_cast<char>(length));
    body.append(length, 'x');
    body.append(StudentRecord::kFieldCount - 1, '\0');
    std::string out{static_cast<char>(body.size() & 0xFF), static_cast<char>(body.size() >> 8)};
    out += body;
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char b : out) {
      crc ^= static_cast<std::uint8_t>(b);
      for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    crc ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((crc >> (8 * i)) & 0xFF));
    return out;
  };
  // row: bytes in the field | whole entries read
  const std::pair<std::size_t, std::size_t> rows[] = {{99, 1}, {100, 0}};
  for (const auto& [length, entries] : rows) {
    const journal::Contents contents =
        journal::Parse(journal::EncodeHeader(SomeStamp()) + entryWithField(length));
    ASSERT_EQ(contents.entries.size(), entries) << length << " bytes";
    if (entries == 1) {
      EXPECT_EQ(std::string(contents.entries[0].record.fields[0]), std::string(99, 'x'));
    }
  }
}

TEST_F(JournalTest, ReplayStopsAtAPositionBeyondTheBook) {
  WriteSession();
  RecordList shorter;
  shorter.push_back(Named("Only", "One"));
  // Entry 1 sets record 1 of a book of one: an append. Entry 2 names record 2
  // of a book that now has two: also an append. Entry 3 deletes record 0.
  EXPECT_EQ(journal::Fitting(journal::Parse(sink.bytes()).entries, 1), 3u);
  EXPECT_EQ(journal::Replay(journal::Parse(sink.bytes()).entries, shorter), 3u);
  RecordList empty;
  EXPECT_EQ(journal::Fitting(journal::Parse(sink.bytes()).entries, 0), 0u);
  EXPECT_EQ(journal::Replay(journal::Parse(sink.bytes()).entries, empty), 0u);
  EXPECT_TRUE(empty.empty());
}

TEST_F(JournalTest, AFailedWriteTurnsTheJournalOffAndKeepsTheFirstReason) {
  sink.startError = "Read-only file system";
  EXPECT_FALSE(session.Begin(SomeStamp()));
  EXPECT_FALSE(session.on());
  EXPECT_EQ(session.failure(), "Read-only file system");
  EXPECT_FALSE(session.Record(0, Named("A", "B")));

  MemorySink full;
  journal::Session later{full};
  ASSERT_TRUE(later.Begin(SomeStamp()));
  full.appendError = "No space left on device";
  EXPECT_FALSE(later.Record(0, Named("A", "B")));
  full.appendError.clear();
  EXPECT_FALSE(later.Record(0, Named("C", "D")));  // stays off: no gaps in what it holds
  EXPECT_EQ(later.failure(), "No space left on device");
  EXPECT_TRUE(journal::Parse(full.bytes()).entries.empty());
}

}  // namespace
