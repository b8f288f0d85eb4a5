// A plain XML reader for the small, regular documents inside a workbook:
// start and end tags with their attributes, text with the five named
// entities and character references decoded, comments and processing
// instructions skipped. One pass, no tree, no recursion; a document type
// declaration (and with it any entity of its own) is refused.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xml {

// Appends `text` with &, <, > and " written as entities.
void AppendEscaped(std::string_view text, std::string& out);

class Scanner {
 public:
  enum class Token {
    kStart,  // <name ...>, and <name .../>, which an kEnd follows
    kEnd,    // </name>, or the end of an empty element
    kText,   // character data, CDATA included
    kDone,   // the end of the document
    kError,  // malformed: see error()
  };

  // `document` must outlive the scanner.
  explicit Scanner(std::string_view document) : doc_(document) {}

  Token Next();

  // The element of the last kStart or kEnd, without its namespace prefix.
  std::string_view name() const { return name_; }

  // The decoded value of the last kStart's attribute of local name `local`
  // ("id" finds r:id too), or an empty string when it has none.
  std::string Attribute(std::string_view local) const;
  bool HasAttribute(std::string_view local) const;

  // The decoded text of the last kText.
  const std::string& text() const { return text_; }

  const std::string& error() const { return error_; }

 private:
  Token Fail(std::string message);
  bool Refuse(std::string message);  // Fail, for the helpers that answer yes or no
  Token ReadTag();
  bool ReadAttributes(std::size_t end);

  std::string_view doc_;
  std::size_t pos_ = 0;
  bool pendingEnd_ = false;
  std::string_view name_;
  std::vector<std::pair<std::string_view, std::string_view>> attributes_;
  std::string text_;
  std::string error_;
};

// Appends `raw` to `out` with its entity and character references decoded.
// Returns false for an unknown entity, or a reference to no XML character.
bool AppendDecoded(std::string_view raw, std::string& out);

// `name` without its namespace prefix.
std::string_view LocalName(std::string_view name);

}  // namespace xml
