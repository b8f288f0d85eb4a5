// Comma-separated text as RFC 4180 defines it: writing rows, and reading them
// back with the line and column of every fault. Knows nothing of records.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace csv {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kLineEnd = "\r\n";

// Appends `field` to `out`: as it is, or between double quotes with each quote
// doubled when it holds `delimiter`, a double quote, a carriage return or a
// line feed.
void AppendField(std::string_view field, char delimiter, std::string& out);

// Appends the fields separated by `delimiter`, each as AppendField writes it,
// and ends the row with CRLF.
void AppendRow(const std::vector<std::string_view>& fields, char delimiter, std::string& out);

// `text` without a leading UTF-8 byte-order mark, if it has one.
std::string_view StripBom(std::string_view text);

// Where reading went wrong: 1-based line of the text and 1-based field of the
// row, and what was wrong, in lower case.
struct Fault {
  int line = 0;
  int column = 0;  // 0 when the fault is the row's as a whole
  std::string message;
};

// How the rows of a text end.
enum class LineEnds {
  kLf,  // CRLF or LF; a lone CR is text
  kCr,  // CR alone, as old Mac programs wrote; a LF is text
};

// kCr when `text` holds carriage returns but no line feed at all, else kLf.
LineEnds DetectLineEnds(std::string_view text);

// Excel's first line "sep=X", which names the delimiter X of the rows that
// follow. Returns the length of that line with its line end, or 0 when
// `text` does not start with one.
std::size_t SeparatorLine(std::string_view text, char* delimiter);

// The delimiter of a text whose first row is a header: the one of comma,
// semicolon and tab that the first row holds outside quotes, or a comma when it
// holds none (a single column). Returns false and sets `fault` when the first
// row holds more than one of them. `firstLine` numbers the fault.
bool DetectDelimiter(std::string_view text, char* delimiter, Fault* fault,
                     LineEnds ends = LineEnds::kLf, int firstLine = 1);

// Reads rows one at a time. Rows end with CRLF or LF (or with CR alone, for
// kCr); a last row may lack its line end. A field that starts with a double quote runs to the matching
// closing quote, may hold delimiters, line ends and doubled quotes, and must be
// followed by a delimiter, a line end or the end of the text. A double quote
// inside an unquoted field is taken as it is. A blank line is a row of one
// empty field.
class Reader {
 public:
  enum class Status { kRow, kEnd, kFault };

  // `text` must outlive the reader; it is not copied. Its first line is
  // numbered `firstLine` in faults and FieldLine.
  Reader(std::string_view text, char delimiter, LineEnds ends = LineEnds::kLf, int firstLine = 1);

  // kRow: `fields` holds the next row. kEnd: no rows remain. kFault: the text
  // is malformed (an unterminated quote, or text after a closing quote); see
  // fault(). `fields` is replaced on every call.
  Status ReadRow(std::vector<std::string>& fields);

  // The line on which field i of the last row read begins.
  int FieldLine(std::size_t i) const { return fieldLines_[i]; }
  // The line on which the last row read begins.
  int RowLine() const { return rowLine_; }
  const Fault& fault() const { return fault_; }

 private:
  bool ReadQuoted(std::string& field);
  void ReadUnquoted(std::string& field);
  // Whether a line end starts at `at`.
  bool LineEndAt(std::size_t at) const;
  // Consumes a line end at pos_, if there is one; returns whether there was.
  bool ConsumeLineEnd();

  std::string_view text_;
  char delimiter_;
  LineEnds ends_;
  std::size_t pos_ = 0;
  int line_;
  int rowLine_ = 0;
  std::vector<int> fieldLines_;
  Fault fault_;
};

}  // namespace csv
