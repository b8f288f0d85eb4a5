// Records to text lines and back.
#include "store/record_text.h"

#include <algorithm>
#include <cstring>

#include "store/beside.h"
#include "store/platform/platform.h"
#include "text/field_text.h"

void ParseRecord(std::string_view line, StudentRecord& record) {
  std::size_t pos = 0;  // past line.size() once the line has no more text
  bool cut = false;     // a field was too long: the rest of the line is lost
  for (auto& field : record.fields) {
    if (cut || pos > line.size()) {
      field[0] = '\0';
      continue;
    }
    const char* start = line.data() + pos;
    const std::size_t rest = line.size() - pos;
    // An empty view may have no data at all, and memchr and memcpy must never
    // be given a null pointer, even for zero bytes.
    const void* tab = rest > 0 ? std::memchr(start, '\t', rest) : nullptr;
    const std::size_t length = tab != nullptr ? static_cast<const char*>(tab) - start : rest;
    const std::size_t kept = std::min(length, field_text::kMaxLength);
    if (kept > 0) std::memcpy(field, start, kept);
    field[kept] = '\0';
    cut = length > field_text::kMaxLength;
    pos += length + 1;
  }
}

StudentRecord ParseRecord(std::string_view line) {
  StudentRecord record;
  ParseRecord(line, record);
  return record;
}

void WriteRecord(const StudentRecord& record, std::string& out) {
  if (IsEmpty(record)) return;
  for (const auto& field : record.fields) {
    const std::size_t start = out.size();
    out.append(field, strnlen(field, field_text::kMaxLength));
    // Every way into a field keeps line breaks out (text/field_text.h); this
    // is the last guard of the line structure, for a record changed in memory
    // by other means. Only the two separators would split the line: a carriage
    // return loaded from a file is written back as it came, byte for byte.
    std::replace_if(
        out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
        [](char c) { return c == '\t' || c == '\n'; }, ' ');
    out += '\t';
  }
  out += '\n';
}

std::string BookText(const RecordList& records) {
  std::string text;
  // Typical lines are 100 to 200 bytes; growing past this is rare and cheap.
  const std::size_t expected = records.size() * 192;
  text.reserve(expected);
  if (expected >= platform::kLargeBlock) platform::PrepareLargeBuffer(text.data(), expected);
  for (const StudentRecord& record : records) WriteRecord(record, text);
  return text;
}

std::size_t CountBookLines(std::string_view text) {
  if (text.empty()) return 0;  // and memchr is never given a null pointer
  // memchr finds the next line feed many bytes at a time.
  std::size_t feeds = 0;
  const char* const end = text.data() + text.size();
  for (const char* at = text.data(); at < end; ++at) {
    at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
    if (at == nullptr) break;
    ++feeds;
  }
  return feeds + (text.back() != '\n' ? 1 : 0);
}

std::size_t RecordsToReserve(std::size_t lines) { return lines + lines / 16 + 64; }

namespace {

// Below this many bytes of text a second thread costs more than it saves.
constexpr std::size_t kBytesToSplit = std::size_t{1} << 20;

// Parses the lines of `text` into the records from `first` on.
void ParseLines(std::string_view text, StudentRecord* first) {
  while (!text.empty()) {
    const std::size_t feed = text.find('\n');
    const std::size_t length = feed == std::string_view::npos ? text.size() : feed;
    ParseRecord(text.substr(0, length), *first++);
    text.remove_prefix(std::min(text.size(), length + 1));
  }
}

}  // namespace

void ParseBookText(std::string_view text, RecordList& records) {
  records.clear();
  ParseBookTextIntoEmpty(text, records);
}

void ParseBookTextIntoEmpty(std::string_view text, RecordList& records) {
  // A large text is parsed in two halves at once, the second beginning after
  // the first line feed past the middle (with none, the whole is the first).
  std::string_view front = text;
  std::string_view back;
  if (text.size() >= kBytesToSplit) {
    const std::size_t feed = text.find('\n', text.size() / 2);
    if (feed != std::string_view::npos) {
      front = text.substr(0, feed + 1);
      back = text.substr(feed + 1);
    }
  }
  const std::size_t frontLines = CountBookLines(front);
  const std::size_t lines = frontLines + CountBookLines(back);
  // Sized once, so the records' memory is allocated and touched only once.
  records.reserve(RecordsToReserve(lines));
  records.resize(lines);
  if (back.empty()) {
    ParseLines(front, records.data());
    return;
  }
  Beside second([&] { ParseLines(back, records.data() + frontLines); });
  ParseLines(front, records.data());
}
