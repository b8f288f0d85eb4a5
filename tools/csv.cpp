// Writing and reading RFC 4180 text.
#include "tools/csv.h"

namespace csv {

namespace {

bool NeedsQuotes(std::string_view field, char delimiter) {
  for (char ch : field) {
    if (ch == delimiter || ch == '"' || ch == '\r' || ch == '\n') return true;
  }
  return false;
}

std::string DelimiterName(char delimiter) {
  switch (delimiter) {
    case ',':
      return "comma";
    case ';':
      return "semicolon";
    default:
      return "tab";
  }
}

}  // namespace

void AppendField(std::string_view field, char delimiter, std::string& out) {
  if (!NeedsQuotes(field, delimiter)) {
    out += field;
    return;
  }
  out += '"';
  for (char ch : field) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

void AppendRow(const std::vector<std::string_view>& fields, char delimiter, std::string& out) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += delimiter;
    AppendField(fields[i], delimiter, out);
  }
  out += kLineEnd;
}

std::string_view StripBom(std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  return text;
}

LineEnds DetectLineEnds(std::string_view text) {
  return text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos
             ? LineEnds::kCr
             : LineEnds::kLf;
}

std::size_t SeparatorLine(std::string_view text, char* delimiter) {
  if (text.size() < 5 || (text.substr(0, 4) != "sep=" && text.substr(0, 4) != "SEP=")) return 0;
  const char named = text[4];
  if (named == '"' || named == '\r' || named == '\n') return 0;
  std::size_t end = 5;
  if (text.substr(end, 2) == "\r\n") {
    end += 2;
  } else if (end < text.size() && (text[end] == '\n' || text[end] == '\r')) {
    end += 1;
  } else if (end != text.size()) {
    return 0;
  }
  *delimiter = named;
  return end;
}

bool DetectDelimiter(std::string_view text, char* delimiter, Fault* fault, LineEnds ends,
                     int firstLine) {
  const char rowEnd = ends == LineEnds::kCr ? '\r' : '\n';
  bool quoted = false;
  char found = '\0';
  for (char ch : text) {
    if (ch == '"') {
      quoted = !quoted;  // a doubled quote toggles twice and changes nothing
      continue;
    }
    if (quoted) continue;
    if (ch == rowEnd) break;
    if (ch != ',' && ch != ';' && ch != '\t') continue;
    if (found != '\0' && ch != found) {
      *fault = {firstLine, 0,
                "the header row holds both a " + DelimiterName(found) + " and a " +
                    DelimiterName(ch) + "; cannot tell which separates the columns"};
      return false;
    }
    found = ch;
  }
  *delimiter = found != '\0' ? found : ',';
  return true;
}

Reader::Reader(std::string_view text, char delimiter, LineEnds ends, int firstLine)
    : text_(text), delimiter_(delimiter), ends_(ends), line_(firstLine) {}
Reader::Status Reader::ReadRow(std::vector<std::string>& fields) {
  fields.clear();
  fieldLines_.clear();
  if (pos_ >= text_.size()) return Status::kEnd;
  rowLine_ = line_;
  for (;;) {
    fieldLines_.push_back(line_);
    std::string& field = fields.emplace_back();
    if (pos_ < text_.size() && text_[pos_] == '"') {
      if (!ReadQuoted(field)) return Status::kFault;
    } else {
      ReadUnquoted(field);
    }
    if (pos_ >= text_.size()) return Status::kRow;
    if (text_[pos_] == delimiter_) {
      ++pos_;
      continue;
    }
    ConsumeLineEnd();
    return Status::kRow;
  }
}

bool Reader::LineEndAt(std::size_t at) const {
  if (at >= text_.size()) return false;
  if (ends_ == LineEnds::kCr) return text_[at] == '\r';
  return text_[at] == '\n' || (text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n');
}

bool Reader::ConsumeLineEnd() {
  if (!LineEndAt(pos_)) return false;
  pos_ += ends_ == LineEnds::kLf && text_[pos_] == '\r' ? 2 : 1;
  ++line_;
  return true;
}

void Reader::ReadUnquoted(std::string& field) {
  const std::size_t start = pos_;
  while (pos_ < text_.size()) {
    if (text_[pos_] == delimiter_ || LineEndAt(pos_)) break;
    ++pos_;
  }
  field.assign(text_.substr(start, pos_ - start));
}

bool Reader::ReadQuoted(std::string& field) {
  const int column = static_cast<int>(fieldLines_.size());
  const int startLine = line_;
  ++pos_;  // the opening quote
  for (;;) {
    if (pos_ >= text_.size()) {
      fault_ = {startLine, column, "quoted field not closed before the end of the file"};
      return false;
    }
    const char ch = text_[pos_++];
    if (ch == '"') {
      if (pos_ < text_.size() && text_[pos_] == '"') {
        field += '"';
        ++pos_;
        continue;
      }
      break;
    }
    if (ch == (ends_ == LineEnds::kCr ? '\r' : '\n')) ++line_;
    field += ch;
  }
  const bool atEnd = pos_ >= text_.size();
  if (atEnd || text_[pos_] == delimiter_ || LineEndAt(pos_)) return true;
  fault_ = {line_, column, "text after the closing quote of a quoted field"};
  return false;
}

}  // namespace csv
