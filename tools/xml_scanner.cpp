// The XML reader of workbooks, and the escaping of text written into one.
#include "tools/xml_scanner.h"

#include <cstdint>

#include "text/utf8.h"

namespace xml {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameEnd(char c) { return IsSpace(c) || c == '>' || c == '/' || c == '='; }

// The characters XML 1.0 allows.
bool IsXmlChar(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool DecodeReference(std::string_view ref, std::string& out) {
  if (ref == "lt") return out += '<', true;
  if (ref == "gt") return out += '>', true;
  if (ref == "amp") return out += '&', true;
  if (ref == "quot") return out += '"', true;
  if (ref == "apos") return out += '\'', true;
  if (ref.size() < 2 || ref[0] != '#') return false;
  const bool hex = ref[1] == 'x';
  std::string_view digits = ref.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return false;
  std::uint32_t code = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
  }
  if (!IsXmlChar(code)) return false;
  utf8::Append(out, code);
  return true;
}

}  // namespace

void AppendEscaped(std::string_view text, std::string& out) {
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
}

bool AppendDecoded(std::string_view raw, std::string& out) {
  for (;;) {
    const std::size_t amp = raw.find('&');
    out.append(raw.substr(0, amp));
    if (amp == std::string_view::npos) return true;
    const std::size_t semi = raw.find(';', amp);
    // References are short: a missing ';' nearby is an error, not a search.
    if (semi == std::string_view::npos || semi - amp > 12) return false;
    if (!DecodeReference(raw.substr(amp + 1, semi - amp - 1), out)) return false;
    raw.remove_prefix(semi + 1);
  }
}

std::string_view LocalName(std::string_view name) {
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string Scanner::Attribute(std::string_view local) const {
  std::string value;
  for (const auto& [name, raw] : attributes_) {
    if (LocalName(name) == local) {
      AppendDecoded(raw, value);  // checked when the tag was read
      break;
    }
  }
  return value;
}

bool Scanner::HasAttribute(std::string_view local) const {
  for (const auto& attribute : attributes_) {
    if (LocalName(attribute.first) == local) return true;
  }
  return false;
}

Scanner::Token Scanner::Fail(std::string message) {
  error_ = std::move(message);
  pos_ = doc_.size();
  return Token::kError;
}

bool Scanner::Refuse(std::string message) {
  Fail(std::move(message));
  return false;
}

Scanner::Token Scanner::Next() {
  if (!error_.empty()) return Token::kError;
  if (pendingEnd_) {
    pendingEnd_ = false;
    return Token::kEnd;
  }
  while (pos_ < doc_.size()) {
    if (doc_[pos_] != '<') {
      const std::size_t lt = doc_.find('<', pos_);
      const std::string_view raw = doc_.substr(pos_, lt - pos_);
      pos_ = lt == std::string_view::npos ? doc_.size() : lt;
      text_.clear();
      if (!AppendDecoded(raw, text_)) return Fail("an unknown entity or bad character reference");
      return Token::kText;
    }
    const std::string_view rest = doc_.substr(pos_);
    if (rest.starts_with("<!--")) {
      const std::size_t end = doc_.find("-->", pos_ + 4);
      if (end == std::string_view::npos) return Fail("an unclosed comment");
      pos_ = end + 3;
      continue;
    }
    if (rest.starts_with("<?")) {
      const std::size_t end = doc_.find("?>", pos_ + 2);
      if (end == std::string_view::npos) return Fail("an unclosed processing instruction");
      pos_ = end + 2;
      continue;
    }
    if (rest.starts_with("<![CDATA[")) {
      const std::size_t end = doc_.find("]]>", pos_ + 9);
      if (end == std::string_view::npos) return Fail("an unclosed CDATA section");
      text_.assign(doc_.substr(pos_ + 9, end - pos_ - 9));
      pos_ = end + 3;
      return Token::kText;
    }
    if (rest.starts_with("<!")) return Fail("a document type declaration");
    return ReadTag();
  }
  return Token::kDone;
}

Scanner::Token Scanner::ReadTag() {
  const bool closing = doc_.size() > pos_ + 1 && doc_[pos_ + 1] == '/';
  std::size_t at = pos_ + (closing ? 2 : 1);
  const std::size_t nameStart = at;
  while (at < doc_.size() && !IsNameEnd(doc_[at])) ++at;
  if (at == nameStart || at >= doc_.size()) return Fail("a malformed tag");
  name_ = LocalName(doc_.substr(nameStart, at - nameStart));
  attributes_.clear();
  if (closing) {
    while (at < doc_.size() && IsSpace(doc_[at])) ++at;
    if (at >= doc_.size() || doc_[at] != '>') return Fail("a malformed end tag");
    pos_ = at + 1;
    return Token::kEnd;
  }
  pos_ = at;
  if (!ReadAttributes(doc_.size())) return Token::kError;
  return Token::kStart;
}

// Reads the attributes of a start tag from pos_ up to and including its '>'.
bool Scanner::ReadAttributes(std::size_t end) {
  std::size_t at = pos_;
  for (;;) {
    while (at < end && IsSpace(doc_[at])) ++at;
    if (at >= end) return Refuse("an unclosed tag");
    if (doc_[at] == '>') {
      pos_ = at + 1;
      return true;
    }
    if (doc_[at] == '/') {
      if (at + 1 >= end || doc_[at + 1] != '>') return Refuse("a malformed tag");
      pos_ = at + 2;
      pendingEnd_ = true;
      return true;
    }
    const std::size_t nameStart = at;
    while (at < end && !IsNameEnd(doc_[at])) ++at;
    const std::string_view name = doc_.substr(nameStart, at - nameStart);
    while (at < end && IsSpace(doc_[at])) ++at;
    if (name.empty() || at >= end || doc_[at] != '=') return Refuse("a malformed attribute");
    ++at;
    while (at < end && IsSpace(doc_[at])) ++at;
    if (at >= end || (doc_[at] != '"' && doc_[at] != '\'')) {
      return Refuse("a malformed attribute");
    }
    const char quote = doc_[at];
    const std::size_t valueEnd = doc_.find(quote, at + 1);
    if (valueEnd == std::string_view::npos) return Refuse("an unclosed attribute value");
    const std::string_view raw = doc_.substr(at + 1, valueEnd - at - 1);
    std::string check;
    if (!AppendDecoded(raw, check)) {
      return Refuse("an unknown entity or bad character reference");
    }
    attributes_.emplace_back(name, raw);
    at = valueEnd + 1;
  }
}

}  // namespace xml
