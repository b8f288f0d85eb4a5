// Records to vCards and cards to records.
#include "tools/book_vcard.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "text/cp1252.h"
#include "text/field_text.h"
#include "tools/book_csv.h"
#include "tools/calendar_date.h"
#include "tools/duplicates.h"
#include "tools/vcard.h"

namespace book_vcard {

namespace {

// Our own properties for the fields vCard has none for.
struct OwnProperty {
  const char* name;
  int field;
};
constexpr std::array<OwnProperty, 4> kOwnProperties = {{
    {"X-KESTREL-STUDENT-NO", studentNo},
    {"X-KESTREL-GENDER", gender},
    {"X-KESTREL-PARENT-NAME", parentName},
    {"X-KESTREL-PARENT-PHONE", parentPhone},
}};
constexpr char kOwnBirthday[] = "X-KESTREL-BIRTHDAY";
constexpr char kOwnAddress[] = "X-KESTREL-ADDRESS";

// Properties that carry nothing a person would miss: not counted as dropped.
constexpr std::array<std::string_view, 12> kBookkeeping = {
    "VERSION", "PRODID",   "REV",       "UID",       "CLIENTPIDMAP", "KIND",
    "LABEL",   "X-ABUID",  "X-ABLABEL", "X-ABADR",   "X-ABSHOWAS",   "SORT-STRING"};

std::string_view FieldOf(const StudentRecord& record, int field) {
  return {record.fields[field], strnlen(record.fields[field], StudentRecord::kFieldSize)};
}

std::string Utf8Field(const StudentRecord& record, int field) {
  return cp1252::ToUtf8(FieldOf(record, field));
}

std::string EscapedField(const StudentRecord& record, int field) {
  return vcard::Escape(Utf8Field(record, field));
}

// 2.1 has no UTF-8 by default and no folding of long values: a value
// beyond ASCII goes as quoted-printable UTF-8, its lines broken softly ("="
// at the end) before 76 octets, never inside an "=XX" and never before a
// blank.
void AppendQuotedPrintable(std::string_view head, std::string_view value, std::string& out) {
  constexpr std::size_t kMaxOctets = 76;
  std::string line(head);
  line += ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:";
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    char piece[4];
    if (byte >= 0x80 || byte < 0x20 || c == '=') {
      std::snprintf(piece, sizeof piece, "=%02X", byte);
    } else {
      piece[0] = c;
      piece[1] = '\0';
    }
    if (line.size() + std::strlen(piece) > kMaxOctets - 1) {
      out += line;
      out += "=\r\n";
      line.clear();
    }
    // A blank starting a line would fold it onto the one before instead.
    if (line.empty() && (c == ' ' || c == '\t')) std::snprintf(piece, sizeof piece, "=%02X", byte);
    line += piece;
  }
  out += line;
  out += "\r\n";
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

void AppendProperty(Version version, std::string_view head, std::string_view escapedValue,
                    std::string& out) {
  if (version == Version::k21 && !IsAscii(escapedValue)) {
    AppendQuotedPrintable(head, escapedValue, out);
    return;
  }
  std::string line(head);
  line += ':';
  line += escapedValue;
  vcard::AppendFolded(line, out);
}

void AppendCard(const StudentRecord& r, Version version, std::string& out) {
  vcard::AppendFolded("BEGIN:VCARD", out);
  vcard::AppendFolded(version == Version::k21   ? "VERSION:2.1"
                      : version == Version::k30 ? "VERSION:3.0"
                                                : "VERSION:4.0",
                      out);
  const bool v21 = version == Version::k21;
  std::string shown;
  for (int f : {firstName, middleName1, middleName2, lastName}) {
    if (FieldOf(r, f).empty()) continue;
    if (!shown.empty()) shown += ' ';
    shown += Utf8Field(r, f);
  }
  AppendProperty(version, "FN", vcard::Escape(shown), out);
  std::string additional = EscapedField(r, middleName1);
  if (!FieldOf(r, middleName2).empty()) additional += "," + EscapedField(r, middleName2);
  AppendProperty(
      version, "N",
      EscapedField(r, lastName) + ";" + EscapedField(r, firstName) + ";" + additional + ";;", out);
  if (!FieldOf(r, phone).empty())
    AppendProperty(version, v21 ? "TEL;HOME" : "TEL;TYPE=home", EscapedField(r, phone), out);
  if (!FieldOf(r, cellPhone).empty())
    AppendProperty(version, v21 ? "TEL;CELL" : "TEL;TYPE=cell", EscapedField(r, cellPhone), out);
  if (!FieldOf(r, email).empty()) AppendProperty(version, "EMAIL", EscapedField(r, email), out);
  const std::string_view birthdayText = FieldOf(r, birthday);
  if (!birthdayText.empty()) {
    const std::optional<CalendarDate> date = ReadDateWithoutDoubt(birthdayText);
    // 3.0 readers know the date with hyphens best; 4.0 writes it without.
    if (date)
      AppendProperty(version, "BDAY", version == Version::k40 ? BasicDate(*date) : IsoDate(*date),
                     out);
    // BDAY comes back as the date in ISO form; any other text needs its own line.
    if (!date || IsoDate(*date) != birthdayText) {
      AppendProperty(version, kOwnBirthday, EscapedField(r, birthday), out);
    }
  }
  std::string joined;
  std::string parts;
  std::string lines;
  bool anyPart = false;
  for (int f = address1; f <= address5; ++f) {
    if (f > address1) {
      parts += ';';
      lines += '\n';
    }
    parts += EscapedField(r, f);
    lines += Utf8Field(r, f);
    if (FieldOf(r, f).empty()) continue;
    anyPart = true;
    if (!joined.empty()) joined += ' ';
    joined += Utf8Field(r, f);
  }
  if (anyPart) {
    AppendProperty(version, "ADR", ";;" + vcard::Escape(joined) + ";;;;", out);
    // 3.0 readers take an unknown property's value for text and may write it
    // again escaped their way: the parts go one per line, which survives that.
    AppendProperty(version, kOwnAddress, version == Version::k30 ? vcard::Escape(lines) : parts,
                   out);
  }
  for (const OwnProperty& own : kOwnProperties) {
    if (!FieldOf(r, own.field).empty())
      AppendProperty(version, own.name, EscapedField(r, own.field), out);
  }
  vcard::AppendFolded("END:VCARD", out);
}

// One card being turned into a record.
class CardReader {
 public:
  CardReader(import_text::Encoding fileEncoding, ImportResult& counts)
      : fileEncoding_(fileEncoding), counts_(counts) {}

  // Fills `record` from `card`; false with `error` set when a value does not fit.
  bool Read(const vcard::Card& card, StudentRecord& record, std::string& error);

 private:
  struct Phone {
    const vcard::Property* property;
    bool cell;
    bool home;
    bool other;  // fax or pager: no field of ours
  };

  bool ReadProperty(const vcard::Property& p);
  // The value's bytes: quoted-printable decoded.
  static std::string Bytes(const vcard::Property& p);
  // Sets `field` from the raw (escaped) text `raw` of property `p`, once.
  bool Set(const vcard::Property& p, int field, std::string_view raw);
  bool SetAddressParts(const vcard::Property& p, const std::vector<std::string_view>& parts,
                       bool ours);
  bool EncodingOf(const vcard::Property& p, import_text::Encoding& encoding);
  bool Fail(const vcard::Property& p, int field, const std::string& why);

  import_text::Encoding fileEncoding_;
  ImportResult& counts_;
  StudentRecord* record_ = nullptr;
  std::string* error_ = nullptr;
  std::array<bool, StudentRecord::kFieldCount> set_{};
  std::vector<Phone> phones_;
  const vcard::Property* fullName_ = nullptr;
  bool haveName_ = false;
  bool ownBirthday_ = false;
  bool ownAddress_ = false;
  int emails_ = 0;
  int addresses_ = 0;
};

bool CardReader::Fail(const vcard::Property& p, int field, const std::string& why) {
  *error_ = "line " + std::to_string(p.line) + " (" + p.name;
  if (field >= 0) *error_ += ", " + std::string(book_csv::kColumnNames[field]);
  *error_ += "): " + why;
  return false;
}

std::string CardReader::Bytes(const vcard::Property& p) {
  return p.QuotedPrintable() ? vcard::DecodeQuotedPrintable(p.value) : p.value;
}

bool CardReader::EncodingOf(const vcard::Property& p, import_text::Encoding& encoding) {
  std::string charset(p.Param("CHARSET"));
  for (char& c : charset) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (charset.empty()) {
    encoding = fileEncoding_;
  } else if (charset == "UTF-8" || charset == "UTF8" || charset == "US-ASCII" ||
             charset == "ASCII") {
    encoding = import_text::Encoding::kUtf8;
  } else if (charset == "ISO-8859-1" || charset == "WINDOWS-1252" || charset == "CP1252" ||
             charset == "LATIN1") {
    encoding = import_text::Encoding::kWindows1252;
  } else {
    return Fail(p, -1, "charset " + charset +
                           " cannot be read; the charsets read are UTF-8, ISO-8859-1 and "
                           "Windows-1252");
  }
  return true;
}

bool CardReader::Set(const vcard::Property& p, int field, std::string_view raw) {
  if (set_[field]) return true;
  import_text::Encoding encoding = fileEncoding_;
  if (!EncodingOf(p, encoding)) return false;
  std::string text;
  std::string why;
  if (!import_text::ToWindows1252(vcard::Unescape(raw), encoding, text, why)) {
    return Fail(p, field, why);
  }
  // One line per field, as a paste into the form gives: a line break of
  // either kind, CRLF included, becomes one blank.
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    line += static_cast<char>(field_text::OneLine(static_cast<unsigned char>(text[i])));
  }
  text = std::move(line);
  if (const field_text::Fault fault = field_text::Check(text); fault != field_text::Fault::kNone) {
    return Fail(p, field, field_text::Describe(fault, text.size()));
  }
  std::memcpy(record_->fields[field], text.data(), text.size());
  record_->fields[field][text.size()] = '\0';
  set_[field] = true;
  return true;
}

bool CardReader::SetAddressParts(const vcard::Property& p,
                                 const std::vector<std::string_view>& parts, bool ours) {
  if (ours) {
    for (std::size_t k = 0; k < parts.size() && k < 5; ++k) {
      if (!Set(p, address1 + static_cast<int>(k), parts[k])) return false;
    }
    return true;
  }
  // post office box; extended address; street; locality; region; postal code; country
  auto part = [&](std::size_t k) { return k < parts.size() ? parts[k] : std::string_view(); };
  std::string street;
  for (std::size_t k : {0u, 1u, 2u}) {
    if (part(k).empty()) continue;
    if (!street.empty()) street += ' ';
    street += part(k);
  }
  if (!Set(p, address1, street)) return false;
  for (int k = 3; k <= 6; ++k) {
    if (!Set(p, address1 + k - 2, part(static_cast<std::size_t>(k)))) return false;
  }
  return true;
}

bool CardReader::ReadProperty(const vcard::Property& p) {
  const std::string& name = p.name;
  const std::string bytes = Bytes(p);
  for (const OwnProperty& own : kOwnProperties) {
    if (name == own.name) return Set(p, own.field, bytes);
  }
  if (name == kOwnBirthday) {  // the text as written, not BDAY's date
    ownBirthday_ = true;
    return Set(p, birthday, bytes);
  }
  if (name == kOwnAddress) {  // the parts as they were, not ADR's joined line
    ownAddress_ = true;
    const std::vector<std::string_view> parts = vcard::SplitRaw(bytes, ';');
    if (parts.size() > 1) return SetAddressParts(p, parts, /*ours=*/true);
    // The parts one per line, as 3.0 cards carry them.
    std::vector<std::string> escaped;
    const std::string text = vcard::Unescape(bytes);
    std::string_view rest = text;
    for (;;) {
      const std::size_t end = rest.find('\n');
      escaped.push_back(vcard::Escape(rest.substr(0, end)));
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
    return SetAddressParts(p, {escaped.begin(), escaped.end()}, /*ours=*/true);
  }
  if (name == "N") {
    if (haveName_) return true;
    haveName_ = true;
    const std::vector<std::string_view> parts = vcard::SplitRaw(bytes, ';');
    if (!Set(p, lastName, parts[0])) return false;
    if (parts.size() > 1 && !Set(p, firstName, parts[1])) return false;
    if (parts.size() > 2) {
      const std::vector<std::string_view> middle = vcard::SplitRaw(parts[2], ',');
      if (!Set(p, middleName1, middle[0])) return false;
      std::string rest;
      for (std::size_t k = 1; k < middle.size(); ++k) {
        if (k > 1) rest += ' ';
        rest += middle[k];
      }
      if (!Set(p, middleName2, rest)) return false;
    }
    return true;
  }
  if (name == "FN") {
    if (fullName_ == nullptr) fullName_ = &p;
    return true;
  }
  if (name == "TEL") {
    if (bytes.empty()) return true;
    const bool cell = p.HasType("cell") || p.HasType("mobile");
    const bool other = !cell && (p.HasType("fax") || p.HasType("pager"));
    phones_.push_back({&p, cell, p.HasType("home"), other});
    return true;
  }
  if (name == "EMAIL") {
    if (bytes.empty()) return true;
    if (emails_++ > 0) {
      ++counts_.extraEmails;
      return true;
    }
    return Set(p, email, bytes);
  }
  if (name == "BDAY") {
    if (ownBirthday_ || bytes.empty()) return true;
    const std::optional<CalendarDate> date = ReadVCardDate(bytes);
    return Set(p, birthday, date ? IsoDate(*date) : bytes);
  }
  if (name == "ADR") {
    if (addresses_++ > 0) {
      ++counts_.extraAddresses;
      return true;
    }
    if (ownAddress_) return true;
    return SetAddressParts(p, vcard::SplitRaw(bytes, ';'), /*ours=*/false);
  }
  if (name == "GENDER") {  // 4.0: sex;identity. The sex alone has a field, after ours.
    const std::string_view sex = vcard::SplitRaw(bytes, ';')[0];
    if (sex.empty() || sex == "U" || sex == "u") return true;  // unknown
    return Set(p, gender, sex);
  }
  if (name == "PHOTO") {
    if (!p.value.empty()) ++counts_.photos;
    return true;
  }
  for (std::string_view kept : kBookkeeping) {
    if (name == kept) return true;
  }
  if (!p.value.empty()) ++counts_.otherProperties;
  return true;
}

bool CardReader::Read(const vcard::Card& card, StudentRecord& record, std::string& error) {
  record_ = &record;
  error_ = &error;
  // Our own properties first: where they are, BDAY and ADR only repeat them
  // for other programs, and the joined address may be longer than a field.
  for (const bool own : {true, false}) {
    for (const vcard::Property& p : card.properties) {
      if (p.name.starts_with("X-KESTREL-") == own && !ReadProperty(p)) return false;
    }
  }
  // Phones: the first home number (else the first ordinary one) is the
  // phone, the first cell number the cell phone; the rest have no field.
  const Phone* home = nullptr;
  const Phone* cell = nullptr;
  for (const Phone& ph : phones_) {
    if (ph.cell && cell == nullptr) cell = &ph;
    if (!ph.cell && !ph.other && ph.home && home == nullptr) home = &ph;
  }
  for (const Phone& ph : phones_) {
    if (home == nullptr && !ph.cell && !ph.other) home = &ph;
  }
  for (const Phone& ph : phones_) {
    if (&ph != home && &ph != cell) ++counts_.extraPhones;
  }
  // A number given as a URI (VALUE=uri) loses its "tel:"; a text keeps all.
  auto number = [](const vcard::Property& p) {
    std::string value = Bytes(p);
    std::string kind(p.Param("VALUE"));
    for (char& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (kind == "uri" && value.size() >= 4 &&
        (value.compare(0, 4, "tel:") == 0 || value.compare(0, 4, "TEL:") == 0)) {
      value.erase(0, 4);
    }
    return value;
  };
  if (home != nullptr && !Set(*home->property, phone, number(*home->property))) return false;
  if (cell != nullptr && !Set(*cell->property, cellPhone, number(*cell->property))) return false;
  // Without N, the formatted name gives the names: its last word the last name.
  if (!haveName_ && fullName_ != nullptr) {
    const std::string full = vcard::Unescape(Bytes(*fullName_));
    const std::size_t blank = full.rfind(' ');
    const std::string last = blank == std::string::npos ? full : full.substr(blank + 1);
    const std::string first = blank == std::string::npos ? "" : full.substr(0, blank);
    if (!Set(*fullName_, lastName, vcard::Escape(last))) return false;
    if (!Set(*fullName_, firstName, vcard::Escape(first))) return false;
  }
  return true;
}

}  // namespace

std::string ExportRecords(const RecordList& records, Version version) {
  std::string out;
  for (const StudentRecord& record : records) {
    if (!IsEmpty(record)) AppendCard(record, version, out);
  }
  return out;
}

ImportResult ImportRecords(std::string_view fileBytes, RecordList& records,
                           const import_text::ImportOptions& options) {
  ImportResult result;
  if (const std::string_view form = import_text::WideUnicodeForm(fileBytes); !form.empty()) {
    result.error = "line 1: the file is " + std::string(form) + " text; save it in UTF-8";
    return result;
  }
  bool hadBom = false;
  const std::string_view text = import_text::StripUtf8Bom(fileBytes, &hadBom);
  vcard::ParseResult parsed = vcard::Parse(text);
  if (!parsed.ok) {
    result.error = std::move(parsed.error);
    return result;
  }
  // Judged on the values once unfolded: a writer may fold a line inside a
  // UTF-8 character, and the file's bytes as they lie are then not UTF-8.
  std::string values;
  for (const vcard::Card& card : parsed.cards) {
    for (const vcard::Property& p : card.properties) values += p.value;
  }
  const import_text::Encoding encoding = import_text::Resolve(options.encoding, values, hadBom);
  const std::size_t before = records.size();
  records.reserve(before + parsed.cards.size());
  duplicates::SameRecordFilter known;
  if (options.skipDuplicates) known.LearnLive(records);
  for (const vcard::Card& card : parsed.cards) {
    StudentRecord& record = records.emplace_back();
    CardReader reader(encoding, result);
    if (!reader.Read(card, record, result.error)) {
      records.resize(before);
      result = ImportResult{false, std::move(result.error)};
      return result;
    }
    if (IsEmpty(record)) {
      records.pop_back();
      ++result.empty;
    } else if (options.skipDuplicates && known.SeenBefore(record)) {
      records.pop_back();
      ++result.duplicates;
    }
  }
  result.added = records.size() - before;
  result.ok = true;
  return result;
}

}  // namespace book_vcard
