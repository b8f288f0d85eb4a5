// Reading and writing vCard content lines.
#include "tools/vcard.h"

#include <algorithm>
#include <cctype>

namespace vcard {

namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) { return Upper(a) == Upper(b); }

bool IsBlank(std::string_view line) {
  for (char c : line) {
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

// The physical lines of the text one by one, with their 1-based numbers,
// found as they are read rather than listed first: a file of many short lines
// costs no table of them.
class PhysicalLines {
 public:
  explicit PhysicalLines(std::string_view text) : text_(text) { Find(); }

  bool AtEnd() const { return !has_; }
  int number() const { return number_; }
  std::string_view line() const { return line_; }
  void Next() {
    ++number_;
    Find();
  }

 private:
  void Find() {
    has_ = pos_ < text_.size();
    if (!has_) return;
    const std::size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
    line_ = text_.substr(pos_, end - pos_);
    pos_ = end + (text_.substr(end, 2) == "\r\n" ? 2 : 1);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  bool has_ = false;
  int number_ = 1;
  std::string_view line_;
};

// Where the name and parameters end: the first colon outside double quotes,
// looked for in a line that grows as folded lines join it, each byte once.
struct ColonScan {
  std::size_t colon = std::string_view::npos;
  std::size_t scanned = 0;
  bool quoted = false;

  bool Found() const { return colon != std::string_view::npos; }
  // Reads on to the end of `line`; returns whether the colon is found.
  bool Advance(std::string_view line) {
    for (; scanned < line.size(); ++scanned) {
      if (line[scanned] == '"') quoted = !quoted;
      if (line[scanned] == ':' && !quoted) {
        colon = scanned;
        return true;
      }
    }
    return false;
  }
};

bool IsEncodingName(std::string_view word) {
  const std::string upper = Upper(word);
  return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT" ||
         upper == "7BIT";
}

std::string Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// Splits "name;param;param" at the semicolons outside quotes.
std::vector<std::string_view> SplitHead(std::string_view head) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= head.size(); ++i) {
    if (i < head.size() && head[i] == '"') quoted = !quoted;
    if (i == head.size() || (head[i] == ';' && !quoted)) {
      parts.push_back(head.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

Property ParseProperty(int line, std::string_view text, std::size_t colon) {
  Property property;
  property.line = line;
  const std::vector<std::string_view> head = SplitHead(text.substr(0, colon));
  std::string_view name = head[0];
  if (const std::size_t dot = name.find('.'); dot != std::string_view::npos) {
    property.group = std::string(name.substr(0, dot));
    name.remove_prefix(dot + 1);
  }
  property.name = Upper(name);
  for (std::size_t k = 1; k < head.size(); ++k) {
    const std::string_view param = head[k];
    const std::size_t equals = param.find('=');
    if (equals == std::string_view::npos) {
      property.params.emplace_back(IsEncodingName(param) ? "ENCODING" : "TYPE", Unquote(param));
    } else {
      property.params.emplace_back(Upper(param.substr(0, equals)),
                                   Unquote(param.substr(equals + 1)));
    }
  }
  property.value = std::string(text.substr(colon + 1));
  return property;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string_view Property::Param(std::string_view paramName) const {
  for (const auto& [key, value] : params) {
    if (key == paramName) return value;
  }
  return {};
}

bool Property::HasType(std::string_view type) const {
  for (const auto& [key, value] : params) {
    if (key != "TYPE") continue;
    std::string_view rest = value;
    while (!rest.empty()) {
      const std::size_t comma = rest.find(',');
      if (EqualsIgnoringCase(rest.substr(0, comma), type)) return true;
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
  }
  return false;
}

bool Property::QuotedPrintable() const {
  return EqualsIgnoringCase(Param("ENCODING"), "QUOTED-PRINTABLE");
}

bool Property::Base64() const {
  const std::string encoding = Upper(Param("ENCODING"));
  return encoding == "BASE64" || encoding == "B";
}

ParseResult Parse(std::string_view text) {
  ParseResult result;
  PhysicalLines lines(text);
  Card* card = nullptr;
  bool afterBase64 = false;  // 2.1 writers may leave base64 data lines unfolded
  while (!lines.AtEnd()) {
    const int number = lines.number();
    std::string logical(lines.line());
    lines.Next();
    // Folded lines go on after a blank or tab; quoted-printable soft breaks
    // go on after a final '='. The head (name and parameters) is read once,
    // as the line grows: a long head followed by many soft breaks must cost
    // its length once, not once per break.
    ColonScan head;
    bool qp = false;
    for (;;) {
      if (!lines.AtEnd() && !lines.line().empty() &&
          (lines.line()[0] == ' ' || lines.line()[0] == '\t')) {
        logical += lines.line().substr(1);
        lines.Next();
        continue;
      }
      if (!head.Found() && head.Advance(logical)) {
        qp = Upper(std::string_view(logical).substr(0, head.colon)).find("QUOTED-PRINTABLE") !=
             std::string::npos;
      }
      if (qp && logical.back() == '=' && !lines.AtEnd()) {
        logical += "\r\n";  // DecodeQuotedPrintable drops the '=' with the line end
        logical += lines.line();
        lines.Next();
        continue;
      }
      break;
    }
    if (IsBlank(logical)) continue;
    const std::size_t colon = head.Found() ? head.colon : std::string::npos;
    if (colon == std::string::npos) {
      if (card != nullptr && afterBase64) continue;
      result.error = "line " + std::to_string(number) +
                     (card == nullptr ? ": text outside a card" : ": no colon in the line");
      return result;
    }
    Property property = ParseProperty(number, logical, colon);
    if (property.name == "BEGIN" && EqualsIgnoringCase(property.value, "VCARD")) {
      if (card != nullptr) {
        result.error = "line " + std::to_string(number) + ": a card inside a card";
        return result;
      }
      card = &result.cards.emplace_back();
      card->line = number;
      afterBase64 = false;
      continue;
    }
    if (card == nullptr) {
      result.error = "line " + std::to_string(number) + ": text outside a card";
      return result;
    }
    if (property.name == "END" && EqualsIgnoringCase(property.value, "VCARD")) {
      card = nullptr;
      continue;
    }
    afterBase64 = property.Base64();
    card->properties.push_back(std::move(property));
  }
  if (card != nullptr) {
    result.error =
        "line " + std::to_string(card->line) + ": card not closed before the end of the file";
    return result;
  }
  result.ok = true;
  return result;
}

bool LooksLikeVCard(std::string_view text) {
  // Line by line without listing the lines: a CSV of millions of blank rows
  // must not cost a table of them just to be told apart from a vCard.
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    if (!IsBlank(line)) {
      return EqualsIgnoringCase(line.substr(0, 11), "BEGIN:VCARD") &&
             IsBlank(line.substr(std::min<std::size_t>(11, line.size())));
    }
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return false;
}

std::string Unescape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    if (next == 'n' || next == 'N') {
      out += '\n';
    } else if (next == '\\' || next == ',' || next == ';' || next == ':') {
      out += next;
    } else {
      out += '\\';
      out += next;
    }
  }
  return out;
}

std::vector<std::string_view> SplitRaw(std::string_view value, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0;;) {
    if (i >= value.size()) {
      parts.push_back(value.substr(start));
      return parts;
    }
    if (value[i] == '\\') {
      i += 2;  // the escaped character never separates
      continue;
    }
    if (value[i] == separator) {
      parts.push_back(value.substr(start, i - start));
      start = i + 1;
    }
    ++i;
  }
}

std::string DecodeQuotedPrintable(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '=') {
      out += value[i];
      continue;
    }
    if (value.substr(i + 1, 2) == "\r\n") {  // a soft line break
      i += 2;
      continue;
    }
    const int high = i + 1 < value.size() ? HexDigit(value[i + 1]) : -1;
    const int low = i + 2 < value.size() ? HexDigit(value[i + 2]) : -1;
    if (high < 0 || low < 0) {
      out += '=';  // not an escape: kept as it is
      continue;
    }
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\\' || c == ',' || c == ';') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

void AppendFolded(std::string_view line, std::string& out) {
  constexpr std::size_t kMaxOctets = 75;
  std::size_t room = kMaxOctets;  // the first line; later ones lose one to the blank
  while (line.size() > room) {
    std::size_t cut = room;
    // Never inside a UTF-8 character: back up over continuation bytes.
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = room;  // not UTF-8 at all: cut anywhere rather than loop
    out += line.substr(0, cut);
    out += "\r\n ";
    line.remove_prefix(cut);
    room = kMaxOctets - 1;
  }
  out += line;
  out += "\r\n";
}

}  // namespace vcard
