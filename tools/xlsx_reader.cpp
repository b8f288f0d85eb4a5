// A workbook's parts, read in the order the first sheet needs them: the
// package's relationships, the workbook, its relationships, the styles (to
// know date cells), the shared strings, then the sheet itself, streamed.
#include "tools/xlsx_reader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <utility>

#include "tools/xlsx_cell_ref.h"
#include "tools/xml_scanner.h"
#include "tools/zip_reader.h"

namespace xlsx {

namespace {

using Token = xml::Scanner::Token;

bool EndsWith(std::string_view text, std::string_view end) { return text.ends_with(end); }

// `target` of a relationship of the part in folder `folder` ("xl/"), as a
// path inside the archive: absolute targets start at the root, "../" climbs.
std::string Resolve(std::string_view folder, std::string_view target) {
  std::string path = target.starts_with('/') ? std::string(target.substr(1))
                                             : std::string(folder) + std::string(target);
  std::string out;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    const std::string_view part = std::string_view(path).substr(start, slash - start);
    if (part == "..") {
      const std::size_t cut = out.rfind('/', out.empty() ? 0 : out.size() - 2);
      out.resize(cut == std::string::npos ? 0 : cut + 1);
    } else if (!part.empty() && part != ".") {
      out += part;
      if (slash < path.size()) out += '/';
    }
    start = slash + 1;
  }
  return out;
}

std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

bool ParseIndex(std::string_view text, std::size_t& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// Built-in number formats that show a date: d/m/yyyy and its kin, and the
// East Asian date forms.
bool IsBuiltInDateFormat(std::size_t id) {
  return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

// Whether a format code shows a date: a y or d outside quoted text, escaped
// characters and [brackets] (colours, locales, elapsed time).
bool IsDateFormatCode(std::string_view code) {
  bool quoted = false;
  int brackets = 0;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (quoted) {
      quoted = c != '"';
    } else if (c == '"') {
      quoted = true;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is shown as it is, or is padding
    } else if (c == '[') {
      ++brackets;
    } else if (c == ']') {
      if (brackets > 0) --brackets;
    } else if (brackets == 0 && (c == 'y' || c == 'Y' || c == 'd' || c == 'D')) {
      return true;
    }
  }
  return false;
}

// Days since 1970-01-01 to a civil date (the proleptic Gregorian calendar).
std::string CivilDate(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
  char text[32];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(year), month, day);
  return text;
}

// The text of a workbook string with its _xHHHH_ escapes undone.
std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_' && text.size() - i >= 7 && text[i + 1] == 'x' && text[i + 6] == '_') {
      unsigned code = 0;
      const auto [end, ec] = std::from_chars(text.data() + i + 2, text.data() + i + 6, code, 16);
      if (ec == std::errc() && end == text.data() + i + 6) {
        // Below 0x80 the byte itself; the rest as UTF-8.
        if (code < 0x80) {
          out += static_cast<char>(code);
        } else if (code < 0x800) {
          out += static_cast<char>(0xC0 | (code >> 6));
          out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
          out += static_cast<char>(0xE0 | (code >> 12));
          out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
          out += static_cast<char>(0x80 | (code & 0x3F));
        }
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// Where the first sheet and the parts it needs live, and how dates count.
struct Parts {
  std::string sheet;
  std::string sharedStrings;
  std::string styles;
  bool from1904 = false;
};

class WorkbookReader {
 public:
  explicit WorkbookReader(std::string& error) : error_(error) {}

  bool Read(std::string_view bytes, const std::function<bool(const Row&)>& onRow);

 private:
  bool Fail(std::string message) {
    error_ = std::move(message);
    return false;
  }
  bool Load(const std::string& part, std::string& xml);
  bool FindParts(Parts& parts);
  bool ReadStyles(const std::string& part);
  bool ReadSharedStrings(const std::string& part);
  bool ReadSheet(const std::string& part, const std::function<bool(const Row&)>& onRow,
                 bool from1904);
  bool CellText(std::string_view type, std::size_t style, std::string& value,
                const std::string& inline_, bool from1904, std::string& text, int column, int row);

  std::string& error_;
  zip::Reader archive_;
  std::vector<bool> dateStyles_;  // by cell format index
  std::string strings_;           // the shared strings, one after another
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stringAt_;  // offset, length
  std::string part_;  // the part being read, for messages
};

bool WorkbookReader::Load(const std::string& part, std::string& xml) {
  part_ = part;
  if (!archive_.Extract(part, xml)) return Fail(archive_.error());
  return true;
}

// Follows the relationships from the package to the first sheet.
bool WorkbookReader::FindParts(Parts& parts) {
  std::string xml;
  std::string workbook = "xl/workbook.xml";
  if (archive_.Has("_rels/.rels")) {
    if (!Load("_rels/.rels", xml)) return false;
    xml::Scanner scan(xml);
    for (Token t; (t = scan.Next()) != Token::kDone;) {
      if (t == Token::kError) return Fail("_rels/.rels: " + scan.error());
      if (t == Token::kStart && scan.name() == "Relationship" &&
          EndsWith(scan.Attribute("Type"), "/officeDocument")) {
        workbook = Resolve("", scan.Attribute("Target"));
        break;
      }
    }
  }
  if (!archive_.Has(workbook)) return Fail("not a workbook: the archive has no " + workbook);
  if (!Load(workbook, xml)) return false;
  std::string sheetId;
  {
    xml::Scanner scan(xml);
    for (Token t; (t = scan.Next()) != Token::kDone;) {
      if (t == Token::kError) return Fail(workbook + ": " + scan.error());
      if (t != Token::kStart) continue;
      if (scan.name() == "workbookPr") {
        const std::string v = scan.Attribute("date1904");
        parts.from1904 = v == "1" || v == "true";
      } else if (scan.name() == "sheet") {
        sheetId = scan.Attribute("id");
        break;
      }
    }
  }
  if (sheetId.empty()) return Fail(workbook + ": the workbook has no sheet");

  const std::string folder = FolderOf(workbook);
  const std::string rels = folder + "_rels/" + workbook.substr(folder.size()) + ".rels";
  if (!Load(rels, xml)) return false;
  xml::Scanner scan(xml);
  for (Token t; (t = scan.Next()) != Token::kDone;) {
    if (t == Token::kError) return Fail(rels + ": " + scan.error());
    if (t != Token::kStart || scan.name() != "Relationship") continue;
    const std::string type = scan.Attribute("Type");
    const std::string target = Resolve(folder, scan.Attribute("Target"));
    if (scan.Attribute("Id") == sheetId && parts.sheet.empty()) {
      parts.sheet = target;
    } else if (EndsWith(type, "/sharedStrings") && parts.sharedStrings.empty()) {
      parts.sharedStrings = target;
    } else if (EndsWith(type, "/styles") && parts.styles.empty()) {
      parts.styles = target;
    }
  }
  if (parts.sheet.empty()) return Fail(rels + ": the first sheet has no part");
  return true;
}

bool WorkbookReader::ReadStyles(const std::string& part) {
  std::string xml;
  if (!Load(part, xml)) return false;
  std::map<std::size_t, bool> custom;  // numFmtId: whether it shows a date
  bool inCellFormats = false;
  xml::Scanner scan(xml);
  for (Token t; (t = scan.Next()) != Token::kDone;) {
    if (t == Token::kError) return Fail(part + ": " + scan.error());
    if (t == Token::kEnd && scan.name() == "cellXfs") inCellFormats = false;
    if (t != Token::kStart) continue;
    if (scan.name() == "numFmt") {
      std::size_t id = 0;
      if (ParseIndex(scan.Attribute("numFmtId"), id)) {
        custom.emplace(id, IsDateFormatCode(scan.Attribute("formatCode")));
      }
    } else if (scan.name() == "cellXfs") {
      inCellFormats = true;
    } else if (inCellFormats && scan.name() == "xf") {
      std::size_t id = 0;
      ParseIndex(scan.Attribute("numFmtId"), id);
      const auto found = custom.find(id);
      dateStyles_.push_back(found != custom.end() ? found->second : IsBuiltInDateFormat(id));
    }
  }
  return true;
}

bool WorkbookReader::ReadSharedStrings(const std::string& part) {
  std::string xml;
  if (!Load(part, xml)) return false;
  xml::Scanner scan(xml);
  bool inItem = false;
  bool inText = false;
  int phonetic = 0;  // inside <rPh>: readings shown above the text, not part of it
  std::string item;
  for (Token t; (t = scan.Next()) != Token::kDone;) {
    if (t == Token::kError) return Fail(part + ": " + scan.error());
    if (t == Token::kStart) {
      if (scan.name() == "si") {
        inItem = true;
        item.clear();
      } else if (scan.name() == "rPh") {
        ++phonetic;
      } else if (scan.name() == "t") {
        inText = inItem && phonetic == 0;
      }
    } else if (t == Token::kEnd) {
      if (scan.name() == "t") {
        inText = false;
      } else if (scan.name() == "rPh") {
        if (phonetic > 0) --phonetic;
      } else if (scan.name() == "si" && inItem) {
        const std::string text = Unescape(item);
        stringAt_.emplace_back(static_cast<std::uint32_t>(strings_.size()),
                               static_cast<std::uint32_t>(text.size()));
        strings_ += text;
        inItem = false;
      }
    } else if (t == Token::kText && inText) {
      item += scan.text();
    }
  }
  return true;
}

bool WorkbookReader::CellText(std::string_view type, std::size_t style, std::string& value,
                              const std::string& inline_, bool from1904, std::string& text,
                              int column, int row) {
  auto where = [&] { return part_ + ": cell " + CellName(column, row); };
  if (type == "inlineStr") {
    text = Unescape(inline_);
  } else if (value.empty()) {
    text.clear();  // a cell with a style but no value
  } else if (type == "s") {
    std::size_t index = 0;
    if (!ParseIndex(value, index) || index >= stringAt_.size()) {
      return Fail(where() + " names shared string " + value + ", which the workbook lacks");
    }
    text.assign(strings_, stringAt_[index].first, stringAt_[index].second);
  } else if (type == "str") {
    text = Unescape(value);
  } else if (type == "b") {
    text = value == "1" ? "TRUE" : value == "0" ? "FALSE" : value;
  } else if (type == "e") {
    return Fail(where() + " holds the error " + value);
  } else if (type == "d") {
    // An ISO 8601 date, perhaps with a time: the date is kept.
    text = value.size() >= 10 && value[4] == '-' && value[7] == '-' ? value.substr(0, 10) : value;
  } else {
    text = value;
    const std::string_view number(value);
    double serial = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), serial);
    if (style < dateStyles_.size() && dateStyles_[style] && ec == std::errc() &&
        end == number.data() + number.size()) {
      if (std::string date = DateOfSerial(serial, from1904); !date.empty()) text = std::move(date);
    }
  }
  return true;
}

bool WorkbookReader::ReadSheet(const std::string& part,
                               const std::function<bool(const Row&)>& onRow, bool from1904) {
  std::string xml;
  if (!Load(part, xml)) return false;
  xml::Scanner scan(xml);
  Row row;
  bool inRow = false;
  bool inCell = false;
  bool inValue = false;
  bool inInline = false;
  bool inText = false;
  int phonetic = 0;
  std::string type;
  std::size_t style = 0;
  std::string value;
  std::string inlineText;
  int column = -1;
  for (Token t; (t = scan.Next()) != Token::kDone;) {
    if (t == Token::kError) return Fail(part + ": " + scan.error());
    if (t == Token::kText) {
      if (inValue) value += scan.text();
      if (inText && phonetic == 0) inlineText += scan.text();
      continue;
    }
    const std::string_view name = scan.name();
    if (t == Token::kStart) {
      if (name == "row") {
        // A row begins only between rows: one inside a row or a cell would
        // leave that cell without its column.
        if (inRow || inCell) return Fail(part + ": a row inside row " + std::to_string(row.number));
        int number = row.number + 1;
        if (scan.HasAttribute("r")) {
          std::size_t r = 0;
          if (!ParseIndex(scan.Attribute("r"), r) || r > static_cast<std::size_t>(kMaxRows)) {
            return Fail(part + ": a row numbered \"" + scan.Attribute("r") + "\"");
          }
          number = static_cast<int>(r);
        }
        if (number <= row.number) {
          return Fail(part + ": row " + std::to_string(number) + " comes after row " +
                      std::to_string(row.number));
        }
        row.number = number;
        row.cells.clear();
        inRow = true;
        column = -1;
      } else if (name == "c" && inRow) {
        int next = column + 1;
        if (scan.HasAttribute("r")) {
          int r = 0;
          if (!ReadCellName(scan.Attribute("r"), next, r) || r != row.number) {
            return Fail(part + ": a cell named \"" + scan.Attribute("r") + "\" in row " +
                        std::to_string(row.number));
          }
        }
        if (next <= column || next >= kMaxColumns) {
          return Fail(part + ": cells out of order in row " + std::to_string(row.number));
        }
        column = next;
        type = scan.Attribute("t");
        style = 0;
        ParseIndex(scan.Attribute("s"), style);
        value.clear();
        inlineText.clear();
        inCell = true;
      } else if (inCell && name == "v") {
        inValue = true;
      } else if (inCell && name == "is") {
        inInline = true;
      } else if (inInline && name == "t") {
        inText = true;
      } else if (inInline && name == "rPh") {
        ++phonetic;
      }
      continue;
    }
    // An end tag.
    if (name == "v") {
      inValue = false;
    } else if (name == "t") {
      inText = false;
    } else if (name == "rPh") {
      if (phonetic > 0) --phonetic;
    } else if (name == "is") {
      inInline = false;
    } else if (name == "c" && inCell) {
      inCell = inValue = inInline = inText = false;
      phonetic = 0;
      std::string text;
      if (!CellText(type, style, value, inlineText, from1904, text, column, row.number)) {
        return false;
      }
      if (!text.empty()) row.cells.push_back({column, std::move(text)});
    } else if (name == "row" && inRow) {
      if (inCell) return Fail(part + ": a cell without its end in row " + std::to_string(row.number));
      inRow = false;
      if (!onRow(row)) return false;
    }
  }
  return true;
}

bool WorkbookReader::Read(std::string_view bytes, const std::function<bool(const Row&)>& onRow) {
  if (!archive_.Open(bytes)) return Fail(archive_.error());
  Parts parts;
  if (!FindParts(parts)) return false;
  if (!parts.styles.empty() && archive_.Has(parts.styles) && !ReadStyles(parts.styles)) {
    return false;
  }
  if (!parts.sharedStrings.empty() && archive_.Has(parts.sharedStrings) &&
      !ReadSharedStrings(parts.sharedStrings)) {
    return false;
  }
  return ReadSheet(parts.sheet, onRow, parts.from1904);
}

}  // namespace

bool LooksLikeZip(std::string_view bytes) {
  return bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06");
}

std::string DateOfSerial(double serial, bool from1904) {
  if (!std::isfinite(serial)) return {};
  const double day = std::floor(serial);
  // 9999-12-31 is day 2958465 from 1900, 1462 fewer from 1904.
  const double last = from1904 ? 2957003 : 2958465;
  if (day < (from1904 ? 0 : 1) || day > last) return {};
  const auto n = static_cast<std::int64_t>(day);
  // Days from 1970-01-01 of day 0 of each count.
  constexpr std::int64_t k1904 = -24107;  // 1904-01-01
  constexpr std::int64_t k1900 = -25568;  // 1899-12-31
  if (from1904) return CivilDate(k1904 + n);
  // Excel counts a 29 February 1900 that never was: day 60. After it, every
  // day is one later than the calendar's.
  if (n == 60) return "1900-02-29";
  return CivilDate(k1900 + n - (n > 60 ? 1 : 0));
}

bool ReadFirstSheet(std::string_view workbook, const std::function<bool(const Row&)>& onRow,
                    std::string& error) {
  WorkbookReader reader(error);
  return reader.Read(workbook, onRow);
}

}  // namespace xlsx
