// Records to text lines and back.
#include "store/record_text.h"

#include <algorithm>
#include <cstring>

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
  const auto feeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  return feeds + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

void ParseBookText(std::string_view text, RecordList& records) {
  records.clear();
  // Sized once, so the records' memory is allocated and touched only once,
  // with room for the records a session creates: without it the first new
  // record of a big book copies the whole book into twice its memory, a
  // pause the user sees after "Save Changes".
  const std::size_t lines = CountBookLines(text);
  records.reserve(lines + lines / 16 + 64);
  records.resize(lines);
  std::size_t index = 0;
  while (!text.empty()) {
    const std::size_t feed = text.find('\n');
    const std::size_t length = feed == std::string_view::npos ? text.size() : feed;
    ParseRecord(text.substr(0, length), records[index++]);
    text.remove_prefix(std::min(text.size(), length + 1));
  }
}
