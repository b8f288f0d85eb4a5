// What the imports (CSV and vCard) share before and after parsing: telling
// the text's encoding, turning a value into a field's Windows-1252 text, and
// the byte-order marks of the Unicode forms the tool does not read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace import_text {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class Encoding {
  kAuto,         // UTF-8 when the whole input is valid UTF-8, else Windows-1252
  kUtf8,         // UTF-8; bytes that are not UTF-8 refuse the import
  kWindows1252,  // the bytes are the book's own ("ANSI", as Excel on Windows saves)
};

// What the user asks of an import, whatever the format.
struct ImportOptions {
  Encoding encoding = Encoding::kAuto;
  bool skipDuplicates = false;  // leave out records identical to a live record
};

// What one import did, whatever the format.
struct ImportResult {
  bool ok = false;
  // When !ok: what was wrong and where, e.g.
  // "line 7, column 2 (last_name): longer than 99 bytes in Windows-1252 (104)".
  std::string error;
  std::size_t added = 0;       // records appended, one per row or card in file order
  std::size_t empty = 0;       // rows or cards with nothing for the book, skipped
  std::size_t duplicates = 0;  // rows or cards identical to a live record, skipped
  // What vCards held that the book has no field for, dropped.
  std::size_t photos = 0;
  std::size_t extraPhones = 0;
  std::size_t extraEmails = 0;
  std::size_t extraAddresses = 0;
  std::size_t otherProperties = 0;
};

// The encoding named on the command line: "utf-8" or "windows-1252" (any
// case, also "utf8", "cp1252", "ansi"). Returns false for another name.
bool ParseEncoding(std::string_view name, Encoding& encoding);

// The name of the UTF-16 or UTF-32 form whose byte-order mark starts
// `bytes` ("UTF-16", "UTF-32"), or an empty view for anything else.
std::string_view WideUnicodeForm(std::string_view bytes);

// `bytes` without a leading UTF-8 byte-order mark; `hadBom` says whether it had one.
std::string_view StripUtf8Bom(std::string_view bytes, bool* hadBom = nullptr);

// The encoding to read `text` in: `requested` unless kAuto; UTF-8 when
// `hadBom` or when all of `text` is valid UTF-8; Windows-1252 otherwise.
Encoding Resolve(Encoding requested, std::string_view text, bool hadBom);

// Converts `value` to Windows-1252 from `encoding` (kUtf8 or kWindows1252).
// Returns false with `why` set ("not valid UTF-8", "character U+4E2D has no
// place in Windows-1252") when it cannot.
bool ToWindows1252(std::string_view value, Encoding encoding, std::string& out, std::string& why);

// ToWindows1252, then the rule of a field's text (text/field_text.h): false
// with `why` for a tab, line break, NUL or more than 99 bytes.
bool ToField(std::string_view value, Encoding encoding, std::string& out, std::string& why);

}  // namespace import_text
