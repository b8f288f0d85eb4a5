// What must hold when any bytes at all are read as the text of a book. The
// lines and fields are cut again here from the rules of the text form, so the
// check does not merely repeat the parser.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "store/record_text.h"
#include "store/student_record.h"
#include "text/field_text.h"

namespace {

constexpr std::size_t kMaxField = field_text::kMaxLength;

using Fields = std::array<std::string, StudentRecord::kFieldCount>;

// The lines of `text`: split at line feeds, a last line without one counted.
std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = text.find('\n', start);
    const std::size_t end = feed == std::string_view::npos ? text.size() : feed;
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// A field as C code sees it: up to its first NUL.
std::string AsCString(std::string_view bytes) {
  return std::string(bytes.substr(0, std::min(bytes.find('\0'), bytes.size())));
}

// The fields of `line`: the text before each tab, cut to 99 characters; a
// field of 100 or more empties every later field; fields that the line
// does not reach are empty.
Fields ExpectedFields(std::string_view line) {
  Fields fields;
  std::size_t start = 0;
  for (std::string& field : fields) {
    const std::size_t tab = line.find('\t', start);
    const std::size_t end = tab == std::string_view::npos ? line.size() : tab;
    const std::string_view text = line.substr(start, end - start);
    field = AsCString(text.substr(0, kMaxField));
    if (text.size() > kMaxField || tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return fields;
}

// Every field of `record` ends within its 100 bytes with at most 99 characters.
bool FieldsTerminated(const StudentRecord& record) {
  for (const auto& field : record.fields) {
    if (std::memchr(field, '\0', kMaxField + 1) == nullptr) return false;
  }
  return true;
}

bool SameFields(const StudentRecord& a, const StudentRecord& b) {
  for (int i = 0; i < StudentRecord::kFieldCount; ++i) {
    if (std::strcmp(a.fields[i], b.fields[i]) != 0) return false;
  }
  return true;
}

// Parses `line` into `stale`, a record full of stale bytes (ParseRecord may
// be handed a record that held something else), and checks its fields
// against the rules.
std::string CheckParsed(std::string_view line, StudentRecord& stale) {
  std::memset(stale.fields, 'X', sizeof stale.fields);
  stale.master = &stale;
  ParseRecord(line, stale);
  if (!FieldsTerminated(stale)) return "a field has no NUL within 100 bytes";
  if (stale.master != &stale) return "parsing changed the link";
  const Fields expected = ExpectedFields(line);
  for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
    if (expected[f] != stale.fields[f]) {
      return "field " + std::to_string(f) + " is \"" + stale.fields[f] + "\", the rules give \"" +
             expected[f] + "\"";
    }
  }
  return "";
}

std::string CheckEachLine(const std::vector<std::string_view>& lines, const RecordList& records) {
  StudentRecord stale;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string row = "line " + std::to_string(i + 1) + ": ";
    if (std::string failure = CheckParsed(lines[i], stale); !failure.empty()) return row + failure;
    if (!FieldsTerminated(records[i])) return row + "a loaded field has no NUL";
    if (!SameFields(records[i], stale)) return row + "loading and ParseRecord differ";
  }
  return "";
}

// Saving the loaded records and loading the saved text gives the live ones.
std::string CheckSaveThenLoad(const RecordList& records) {
  std::vector<const StudentRecord*> live;
  for (const StudentRecord& record : records) {
    if (!IsEmpty(record)) live.push_back(&record);
  }
  const std::string saved = BookText(records);
  const std::vector<std::string_view> savedLines = LinesOf(saved);
  if (savedLines.size() != live.size())
    return "saving wrote a line count other than the live records";
  for (std::string_view line : savedLines) {
    if (std::count(line.begin(), line.end(), '\t') != StudentRecord::kFieldCount) {
      return "a saved line without exactly 17 tabs";
    }
  }
  RecordList again;
  ParseBookText(saved, again);
  if (again.size() != live.size()) return "saved text loads to another number of records";
  for (std::size_t i = 0; i < live.size(); ++i) {
    if (!SameFields(again[i], *live[i]))
      return "record " + std::to_string(i + 1) + " changed on save";
  }
  if (BookText(again) != saved) return "saving the reloaded book gives other text";
  return "";
}

}  // namespace

std::string CheckLoadText(std::string_view input) {
  // An empty input also comes as a view without data; every path must take it.
  if (input.empty()) input = {};
  // ParseRecord takes any view as one line, line feeds and all.
  StudentRecord whole;
  if (std::string failure = CheckParsed(input, whole); !failure.empty()) {
    return "whole input as one line: " + failure;
  }
  const std::vector<std::string_view> lines = LinesOf(input);
  if (CountBookLines(input) != lines.size()) return "CountBookLines differs from the lines";
  RecordList records(3);  // loading replaces whatever the book held
  ParseBookText(input, records);
  if (records.size() != lines.size()) {
    return std::to_string(lines.size()) + " lines loaded as " + std::to_string(records.size()) +
           " records";
  }
  if (std::string failure = CheckEachLine(lines, records); !failure.empty()) return failure;
  for (const StudentRecord& record : records) {
    const std::string label = RecordLabel(record);
    if (IsEmpty(record) != (label == "<Deleted Record>")) return "label of a record wrong";
  }
  return CheckSaveThenLoad(records);
}
