// Encoding, reading and replaying the session journal; the file itself is
// behind journal::Sink.
#include "store/journal.h"

#include <array>
#include <cstring>

namespace journal {

namespace {

constexpr char kMagic[8] = {'K', 'E', 'S', 'T', 'R', 'E', 'L', 'J'};
constexpr std::uint8_t kVersion = 1;
constexpr std::size_t kStampSize = 1 + 5 * 8;
constexpr std::size_t kHeaderSize = sizeof kMagic + 1 + kStampSize + 4;
static_assert(kHeaderSize == kHeaderBytes);
constexpr std::size_t kFieldText = StudentRecord::kFieldSize - 1;  // 99 bytes at most
constexpr std::size_t kMinBody = 4 + StudentRecord::kFieldCount;
constexpr std::size_t kMaxBody = kMinBody + StudentRecord::kFieldCount * kFieldText;

// CRC-32 as in zip and PNG (reflected polynomial 0xEDB88320).
constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char b : bytes) c = kCrcTable[(c ^ static_cast<std::uint8_t>(b)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutLittle(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t GetLittle(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value |= std::uint64_t{static_cast<std::uint8_t>(in[at + static_cast<std::size_t>(i)])} << (8 * i);
  }
  return value;
}

void PutCrc(std::string& out, std::size_t from) {
  PutLittle(out, Crc32(std::string_view(out).substr(from)), 4);
}

bool CrcHolds(std::string_view bytes) {  // the last four bytes are the crc of the rest
  const std::size_t body = bytes.size() - 4;
  return GetLittle(bytes, body, 4) == Crc32(bytes.substr(0, body));
}

// Reads one entry's body; false when its fields do not fill it exactly.
bool ReadBody(std::string_view body, Entry& entry) {
  entry.position = static_cast<std::uint32_t>(GetLittle(body, 0, 4));
  std::size_t at = 4;
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    if (at >= body.size()) return false;
    const std::size_t length = static_cast<std::uint8_t>(body[at++]);
    if (length > kFieldText || length > body.size() - at) return false;  // fields hold 99 bytes
    std::memcpy(entry.record.fields[f], body.data() + at, length);
    entry.record.fields[f][length] = '\0';
    at += length;
  }
  return at == body.size();
}

}  // namespace

std::string EncodeHeader(const platform::FileStamp& book) {
  std::string out(kMagic, sizeof kMagic);
  out.push_back(static_cast<char>(kVersion));
  out.push_back(book.exists ? 1 : 0);
  PutLittle(out, book.volume, 8);
  PutLittle(out, book.file, 8);
  PutLittle(out, static_cast<std::uint64_t>(book.size), 8);
  PutLittle(out, static_cast<std::uint64_t>(book.mtimeSeconds), 8);
  PutLittle(out, static_cast<std::uint64_t>(book.mtimeNanoseconds), 8);
  PutCrc(out, 0);
  return out;
}

std::string EncodeEntry(std::uint32_t position, const StudentRecord& record) {
  std::string out;
  out.reserve(2 + kMaxBody + 4);
  out.append(2, '\0');  // the body's size, known at the end
  PutLittle(out, position, 4);
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    const std::size_t length = strnlen(record.fields[f], kFieldText);
    out.push_back(static_cast<char>(length));
    out.append(record.fields[f], length);
  }
  const std::size_t body = out.size() - 2;
  out[0] = static_cast<char>(body & 0xFF);
  out[1] = static_cast<char>(body >> 8);
  PutCrc(out, 0);
  return out;
}

namespace {

// Reads the header into `book`; false when there is no sound one.
bool ReadHeader(std::string_view bytes, platform::FileStamp& book) {
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0 ||
      static_cast<std::uint8_t>(bytes[sizeof kMagic]) != kVersion ||
      !CrcHolds(bytes.substr(0, kHeaderSize))) {
    return false;
  }
  const std::size_t at = sizeof kMagic + 1;
  book.exists = bytes[at] != 0;
  book.volume = GetLittle(bytes, at + 1, 8);
  book.file = GetLittle(bytes, at + 9, 8);
  book.size = static_cast<std::int64_t>(GetLittle(bytes, at + 17, 8));
  book.mtimeSeconds = static_cast<std::int64_t>(GetLittle(bytes, at + 25, 8));
  book.mtimeNanoseconds = static_cast<std::int64_t>(GetLittle(bytes, at + 33, 8));
  return true;
}

// Decodes the whole entries after the header one at a time, handing each to
// `use` (which returns false to stop early); returns where the whole entries end.
template <typename Use>
std::size_t EachEntry(std::string_view bytes, Use use) {
  std::size_t at = kHeaderSize;
  Entry entry;
  while (at < bytes.size()) {
    if (bytes.size() - at < 2) break;
    const std::size_t body = GetLittle(bytes, at, 2);
    if (body < kMinBody || body > kMaxBody) break;  // no entry is smaller or larger
    const std::size_t whole = 2 + body + 4;
    if (bytes.size() - at < whole) break;  // cut short
    const std::string_view entryBytes = bytes.substr(at, whole);
    if (!CrcHolds(entryBytes) || !ReadBody(entryBytes.substr(2, body), entry)) break;
    if (!use(entry)) break;
    at += whole;
  }
  return at;
}

// Puts one entry into the book: over the record at its position (which
// keeps its own master link) or, one past the end, as a new record. False,
// changing nothing, for a position beyond that: the entries after it cannot
// fit either.
bool Apply(const Entry& entry, RecordList& records) {
  if (entry.position > records.size()) return false;
  if (entry.position == records.size()) records.emplace_back();
  StudentRecord& target = records[entry.position];
  StudentRecord* const link = target.master;
  target = entry.record;
  target.master = link;
  return true;
}

}  // namespace

Contents Parse(std::string_view bytes) {
  Contents contents;
  if (!ReadHeader(bytes, contents.book)) return contents;
  contents.headerValid = true;
  const std::size_t at = EachEntry(bytes, [&](const Entry& entry) {
    contents.entries.push_back(entry);
    return true;
  });
  contents.entryBytes = at - kHeaderSize;
  contents.tornTail = at < bytes.size();
  return contents;
}

Summary Summarize(std::string_view bytes, std::size_t recordCount) {
  Summary summary;
  if (!ReadHeader(bytes, summary.book)) return summary;
  summary.headerValid = true;
  std::size_t records = recordCount;
  bool fits = true;
  summary.wholeBytes = EachEntry(bytes, [&](const Entry& entry) {
    ++summary.entries;
    if (fits && entry.position > records) fits = false;
    if (fits) {
      if (entry.position == records) ++records;
      ++summary.fitting;
    }
    return true;
  });
  summary.recordsAfter = records;
  return summary;
}

std::size_t ReplayEntries(std::string_view bytes, RecordList& records) {
  platform::FileStamp book;
  if (!ReadHeader(bytes, book)) return 0;
  const Summary summary = Summarize(bytes, records.size());
  if (summary.recordsAfter > records.capacity()) records.reserve(summary.recordsAfter);
  std::size_t applied = 0;
  EachEntry(bytes, [&](const Entry& entry) {
    if (!Apply(entry, records)) return false;
    ++applied;
    return true;
  });
  return applied;
}

std::size_t Fitting(const std::vector<Entry>& entries, std::size_t recordCount) {
  std::size_t fitting = 0;
  for (const Entry& entry : entries) {
    if (entry.position > recordCount) break;
    if (entry.position == recordCount) ++recordCount;
    ++fitting;
  }
  return fitting;
}

std::size_t Replay(const std::vector<Entry>& entries, RecordList& records) {
  // The new records at once: a book loaded full to its capacity is moved
  // once, into just the room it needs, not into double its size.
  std::size_t final = records.size();
  for (std::size_t k = 0, fitting = Fitting(entries, records.size()); k < fitting; ++k) {
    if (entries[k].position == final) ++final;
  }
  if (final > records.capacity()) records.reserve(final);
  std::size_t applied = 0;
  for (const Entry& entry : entries) {
    if (!Apply(entry, records)) break;
    ++applied;
  }
  return applied;
}

bool Session::Begin(const platform::FileStamp& book, const std::vector<Entry>& carried) {
  std::string bytes = EncodeHeader(book);
  for (const Entry& entry : carried) bytes += EncodeEntry(entry.position, entry.record);
  const std::string error = sink_.Start(bytes);
  if (!error.empty()) return Fail(error);
  on_ = true;
  return true;
}

bool Session::Record(std::size_t position, const StudentRecord& record) {
  if (!on_) return false;
  if (position > UINT32_MAX) return Fail("too many records");  // far beyond what the book file holds
  const std::string error = sink_.Append(EncodeEntry(static_cast<std::uint32_t>(position), record));
  return error.empty() || Fail(error);
}

bool Session::Continue(std::uint64_t wholeBytes) {
  const std::string error = sink_.Continue(wholeBytes);
  if (!error.empty()) return Fail(error);
  on_ = true;
  return true;
}

bool Session::Fail(const std::string& reason) {
  on_ = false;
  if (failure_.empty()) failure_ = reason;
  return false;
}

std::string PathFor(const std::string& bookPath) { return bookPath + ".journal"; }

}  // namespace journal
