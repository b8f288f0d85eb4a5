// The search's scan of the book. It runs on every search over the whole book,
// so it lowers the criteria once, folds record text byte by byte through a
// table instead of copying it, and copies the hits only once their number is
// known.
#include "search/find_matches.h"

#include <cstring>
#include <vector>

#include "text/cp1252.h"

namespace {

constexpr int kAddressPartCount = StudentRecord::kFieldCount - address1;
// Five parts of at most 100 bytes each (a damaged field may lack its NUL), each
// followed by its blank.
constexpr std::size_t kAddressTextCapacity = kAddressPartCount * (StudentRecord::kFieldSize + 1);

using FoldTable = std::array<unsigned char, 256>;

const FoldTable& Fold() {
  static const FoldTable table = [] {
    FoldTable t{};
    for (int b = 0; b < 256; ++b) t[b] = cp1252::ToLower(static_cast<unsigned char>(b));
    return t;
  }();
  return table;
}

// A non-empty criterion, already lower-cased, and the field it is tested on.
struct Needle {
  int field;
  std::string lowered;
  // In the address text the parts are joined by blanks, so a criterion
  // without a blank occurs in it exactly when it occurs in one of the parts:
  // no need to assemble the text.
  bool spansParts;
};

std::vector<Needle> PrepareNeedles(const SearchCriteria& criteria) {
  std::vector<Needle> needles;
  for (int k = 0; k < StudentRecord::kSearchFieldCount; ++k) {
    const std::string& text = criteria.text[k];
    if (text.empty()) continue;
    const bool spansParts = k == address1 && text.find(' ') != std::string::npos;
    needles.push_back({k, cp1252::ToLower(text), spansParts});
  }
  return needles;
}

// Does `lowered` occur in `text` once every byte of `text` is folded? Equal to
// lower-casing a copy of the text and searching it, without the copy.
bool ContainsFolded(const char* text, std::size_t length, const std::string& lowered,
                    const FoldTable& fold) {
  const std::size_t m = lowered.size();
  if (m > length) return false;
  const auto* hay = reinterpret_cast<const unsigned char*>(text);
  const auto* needle = reinterpret_cast<const unsigned char*>(lowered.data());
  const unsigned char first = needle[0];
  for (std::size_t i = 0, last = length - m; i <= last; ++i) {
    if (fold[hay[i]] != first) continue;
    std::size_t j = 1;
    while (j < m && fold[hay[i + j]] == needle[j]) ++j;
    if (j == m) return true;
  }
  return false;
}

std::size_t FieldLength(const char* field) { return strnlen(field, StudentRecord::kFieldSize); }

// ContainsFolded on a record's field, in one pass: the scan stops at the
// field's NUL (or its 100th byte) instead of measuring the field first. A
// folded NUL is NUL and the criterion holds none, so a comparison never runs
// past the field's end.
bool FieldContainsFolded(const char* field, const std::string& lowered, const FoldTable& fold) {
  const auto* hay = reinterpret_cast<const unsigned char*>(field);
  const auto* needle = reinterpret_cast<const unsigned char*>(lowered.data());
  const std::size_t m = lowered.size();
  const unsigned char first = needle[0];
  for (std::size_t i = 0; i < StudentRecord::kFieldSize && hay[i] != 0; ++i) {
    if (fold[hay[i]] != first) continue;
    std::size_t j = 1;
    while (j < m && i + j < StudentRecord::kFieldSize && fold[hay[i + j]] == needle[j]) ++j;
    if (j == m) return true;
  }
  return false;
}

// Writes the address text into `out` (kAddressTextCapacity bytes); returns its length.
std::size_t FormatAddress(const StudentRecord& record, char* out) {
  std::size_t length = 0;
  for (int part = address1; part < StudentRecord::kFieldCount; ++part) {
    const std::size_t n = FieldLength(record.fields[part]);
    std::memcpy(out + length, record.fields[part], n);
    length += n;
    out[length++] = ' ';
  }
  return length;
}

// Tests the criteria in field order and stops at the first that fails; the
// address, the only text that must be assembled, comes last.
bool Satisfies(const StudentRecord& record, const std::vector<Needle>& needles,
               const FoldTable& fold) {
  for (const Needle& needle : needles) {
    if (needle.field < address1) {
      if (!FieldContainsFolded(record.fields[needle.field], needle.lowered, fold)) return false;
    } else if (needle.spansParts) {
      char address[kAddressTextCapacity];
      const std::size_t length = FormatAddress(record, address);
      if (!ContainsFolded(address, length, needle.lowered, fold)) return false;
    } else {
      bool found = false;
      for (int part = address1; part < StudentRecord::kFieldCount && !found; ++part) {
        found = FieldContainsFolded(record.fields[part], needle.lowered, fold);
      }
      if (!found) return false;
    }
  }
  return true;
}

}  // namespace

std::string AddressText(const StudentRecord& record) {
  char address[kAddressTextCapacity];
  return std::string(address, FormatAddress(record, address));
}

std::vector<const StudentRecord*> FindMatchingRecords(const RecordList& book,
                                                      const SearchCriteria& criteria) {
  const std::vector<Needle> needles = PrepareNeedles(criteria);
  const FoldTable& fold = Fold();

  // Deleted records are skipped after the criteria rather than before: a
  // non-empty field criterion already rejects them, and testing the criteria
  // first reads one part of the 1.7 KB record instead of two.
  // Records lie 1.7 KB apart, too far for the processor to guess the next
  // read, so the fields tested first are fetched a few records ahead: the
  // first criterion's field, or all five parts for the address.
  constexpr std::size_t kPrefetchDistance = 8;
  const int firstField = needles.empty() ? 0 : needles.front().field;
  const int lastPrefetched = firstField == address1 ? StudentRecord::kFieldCount - 1 : firstField;
  const std::size_t count = book.size();
  std::vector<const StudentRecord*> hits;
  for (std::size_t i = 0; i < count; ++i) {
    if (i + kPrefetchDistance < count) {
      const StudentRecord& ahead = book[i + kPrefetchDistance];
      for (int f = firstField; f <= lastPrefetched; ++f) __builtin_prefetch(ahead.fields[f]);
    }
    const StudentRecord& record = book[i];
    if (Satisfies(record, needles, fold) && !IsEmpty(record)) hits.push_back(&record);
  }
  return hits;
}

void FindMatches(RecordList& book, const SearchCriteria& criteria, RecordList& matches) {
  const std::vector<const StudentRecord*> hits = FindMatchingRecords(book, criteria);
  // One allocation for all copies, so no copy is moved again as the list grows.
  matches.reserve(matches.size() + hits.size());
  for (const StudentRecord* hit : hits) {
    matches.push_back(*hit);
    // The book is the caller's to change: the copy links to its record.
    matches.back().master = const_cast<StudentRecord*>(hit);
  }
}
