// vCard text (versions 2.1, 3.0 and 4.0) as content lines: reading cards
// into their properties, and writing folded, escaped lines. Knows nothing of
// records; tools/book_vcard.h maps cards to records and back.
//
// A card is
//   BEGIN:VCARD CRLF  *( [group "."] name *(";" param) ":" value CRLF )  END:VCARD CRLF
// where a line may be folded (a line end followed by a blank or tab continues
// the line) and, in 2.1, a quoted-printable value may end its line with "="
// to go on at the start of the next.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vcard {

struct Property {
  int line = 0;        // 1-based line of the text on which the property starts
  std::string group;   // "item1" of "item1.TEL", else empty
  std::string name;    // upper case: "TEL"
  // Parameters in order, names in upper case and values without quotes. The
  // bare parameters of 2.1 ("TEL;HOME;VOICE", "NOTE;QUOTED-PRINTABLE") come
  // as ENCODING for the encodings and TYPE for the rest.
  std::vector<std::pair<std::string, std::string>> params;
  std::string value;   // as written: escapes and any quoted-printable kept

  // The value of parameter `name` (upper case), or an empty view.
  std::string_view Param(std::string_view name) const;
  // Whether a TYPE parameter names `type` (any case), also within a list
  // "TYPE=home,voice".
  bool HasType(std::string_view type) const;
  // Whether the value is quoted-printable (ENCODING=QUOTED-PRINTABLE).
  bool QuotedPrintable() const;
  // Whether the value is base64 (ENCODING=BASE64 or b).
  bool Base64() const;
};

struct Card {
  int line = 0;  // the line of BEGIN:VCARD
  std::vector<Property> properties;
};

struct ParseResult {
  bool ok = false;
  std::string error;  // e.g. "line 9: card not closed before the end of the file"
  std::vector<Card> cards;
};

// Reads every card of `text` (without a byte-order mark). Lines end with
// CRLF, LF or CR. Blank lines are ignored anywhere; other text outside a card,
// a line without a colon inside one (except the data lines of a base64 value
// that a writer did not fold), an unclosed card and a card inside a card are
// faults.
ParseResult Parse(std::string_view text);

// True when `text` (without a byte-order mark) starts, after blank lines,
// with BEGIN:VCARD in any case.
bool LooksLikeVCard(std::string_view text);

// The value with its escapes undone: "\n" or "\N" a line feed, "\\", "\,",
// "\;" and "\:" the character itself. A lone backslash stays.
std::string Unescape(std::string_view value);

// Splits a raw value at each `separator` that is not escaped (the ';' of a
// structured value, the ',' of a list), keeping the escapes of each part.
std::vector<std::string_view> SplitRaw(std::string_view value, char separator);

// Decodes quoted-printable text: "=XX" is the byte XX; a "=" before a line
// end (left by unfolding) is dropped with it.
std::string DecodeQuotedPrintable(std::string_view value);

// `text` with '\', ',', ';' escaped and line feeds as "\n", for a value.
std::string Escape(std::string_view text);

// Appends `line` (UTF-8, without its line end) folded so that no line is
// longer than 75 octets and no UTF-8 character is split, each line ending
// with CRLF.
void AppendFolded(std::string_view line, std::string& out);

}  // namespace vcard
