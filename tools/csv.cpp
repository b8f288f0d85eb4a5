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

bool DetectDelimiter(std::string_view text, char* delimiter, Fault* fault) {
  bool quoted = false;
  char found = '\0';
  for (char ch : text) {
    if (ch == '"') {
      quoted = !quoted;  // a doubled quote toggles twice and changes nothing
      continue;
    }
    if (quoted) continue;
    if (ch == '\n') break;
    if (ch != ',' && ch != ';' && ch != '\t') continue;
    if (found != '\0' && ch != found) {
      *fault = {1, 0,
                "the header row holds both a " + DelimiterName(found) + " and a " +
                    DelimiterName(ch) + "; cannot tell which separates the columns"};
      return false;
    }
    found = ch;
  }
  *delimiter = found != '\0' ? found : ',';
  return true;
}

Reader::Reader(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

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

bool Reader::ConsumeLineEnd() {
  if (pos_ < text_.size() && text_[pos_] == '\n') {
    ++pos_;
  } else if (pos_ + 1 < text_.size() && text_[pos_] == '\r' && text_[pos_ + 1] == '\n') {
    pos_ += 2;
  } else {
    return false;
  }
  ++line_;
  return true;
}

void Reader::ReadUnquoted(std::string& field) {
  const std::size_t start = pos_;
  while (pos_ < text_.size()) {
    const char ch = text_[pos_];
    if (ch == delimiter_ || ch == '\n') break;
    if (ch == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') break;
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
    if (ch == '\n') ++line_;
    field += ch;
  }
  const bool atEnd = pos_ >= text_.size();
  if (atEnd || text_[pos_] == delimiter_ || text_[pos_] == '\n' ||
      (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')) {
    return true;
  }
  fault_ = {line_, column, "text after the closing quote of a quoted field"};
  return false;
}

}  // namespace csv
