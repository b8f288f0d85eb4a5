// vCard out and in: the cards phones and address books write, the round trip
// of every field, the dates BDAY may carry, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "text/utf8.h"
#include "tools/book_csv.h"
#include "tools/book_generator.h"
#include "tools/book_vcard.h"
#include "tools/calendar_date.h"

namespace {

StudentRecord Record(std::initializer_list<std::pair<int, std::string>> values) {
  StudentRecord record;
  for (const auto& [field, text] : values) std::strcpy(record.fields[field], text.c_str());
  return record;
}

void ExpectSameRecords(const RecordList& actual, const RecordList& expected,
                       const std::string& name) {
  ASSERT_EQ(actual.size(), expected.size()) << name;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    for (int f = 0; f < StudentRecord::kFieldCount; ++f) {
      EXPECT_STREQ(actual[i].fields[f], expected[i].fields[f])
          << name << ": record " << i << ", " << book_csv::kColumnNames[f];
    }
  }
}

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(KESTREL_VCARD_FIXTURES) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  EXPECT_FALSE(bytes.str().empty()) << name;
  return bytes.str();
}

TEST(VCardTest, CardsAsPhonesAndAddressBooksWriteThem) {
  struct Counts {
    std::size_t empty, photos, extraPhones, extraEmails, extraAddresses, other;
  };
  struct Case {
    const char* file;
    RecordList expected;
    Counts counts;
  };
  const std::vector<Case> cases = {
      {"phone-2.1-quoted-printable.vcf",
       {Record({{lastName, "M\xFCller"},
                {firstName, "J\xFCrgen"},
                {middleName1, "Karl"},
                {phone, "030 123456"},
                {cellPhone, "+49 170 1234567"},
                {email, "juergen@example.org"},
                {address1, "Hauptstra\xDF" "e 5 2. Stock"},
                {address2, "Berlin"},
                {address4, "10115"},
                {address5, "Deutschland"}}),
        Record({{lastName, "Okafor"}, {firstName, "Chidi"}, {cellPhone, "0803 555 0199"}})},
       {0, 1, 1, 0, 0, 1}},
      {"address-book-3.0-groups.vcf",
       {Record({{lastName, "O'Brien"},
                {firstName, "Siobh\xE1n"},
                {middleName1, "Marie"},
                {birthday, "2010-03-04"},
                {phone, "(555) 010-3000"},
                {cellPhone, "(555) 010-2000"},
                {email, "siobhan@example.com"},
                {address1, "12 Elm Street Apt 3"},
                {address2, "Springfield, East"},
                {address3, "IL"},
                {address4, "62701"},
                {address5, "USA"}})},
       {0, 0, 1, 0, 1, 1}},
      {"contacts-4.0-uri-folded.vcf",
       {Record({{lastName, "Li"},
                {firstName, "Wei"},
                {birthday, "--0415"},
                {phone, "+1-555-555-0100"},
                {cellPhone, "+1-555-555-0101"},
                {email, "li.wei@example.net"},
                {address1, "100 Long Folded Street Name That Goes On Past The Limit \x96 Suite 7"},
                {address2, "Portland"},
                {address3, "OR"},
                {address4, "97201"},
                {address5, "USA"}})},
       {1, 1, 1, 1, 0, 1}},
  };
  for (const Case& row : cases) {
    RecordList records;
    const book_vcard::ImportResult r = book_vcard::ImportRecords(Fixture(row.file), records);
    ASSERT_TRUE(r.ok) << row.file << ": " << r.error;
    ExpectSameRecords(records, row.expected, row.file);
    EXPECT_EQ(r.added, row.expected.size()) << row.file;
    const Counts got{r.empty,  r.photos,         r.extraPhones,
                     r.extraEmails, r.extraAddresses, r.otherProperties};
    EXPECT_EQ(std::memcmp(&got, &row.counts, sizeof got), 0)
        << row.file << ": empty " << got.empty << ", photos " << got.photos << ", phones "
        << got.extraPhones << ", e-mails " << got.extraEmails << ", addresses "
        << got.extraAddresses << ", other " << got.other;
  }
}

TEST(VCardTest, ExportThenImportGivesEveryFieldBack) {
  RecordList book = GenerateBook(300);
  book.push_back(Record({{studentNo, "a,b;c\\d:e"},
                         {lastName, " padded "},
                         {middleName2, "only the second"},
                         {birthday, "01/25/2007"},  // one reading only: January 25
                         {address2, "part; two, \\n"},
                         {address4, "part four"}}));
  book.push_back(Record({{firstName, std::string(99, '\xE9')},  // 198 octets of UTF-8
                         {middleName1, "x,y"},
                         {birthday, "sometime in May"},
                         {address1, std::string(99, '\x80')},
                         {parentName, "\\n is not a line break"}}));
  book.push_back(Record({{birthday, "2009-04-17"}, {gender, "F"}, {phone, "tel:555"}}));
  // Five full parts: the joined line of ADR is far longer than a field.
  book.push_back(Record({{address1, std::string(99, 'a')}, {address2, std::string(99, 'b')},
                         {address3, std::string(99, 'c')}, {address4, std::string(99, 'd')},
                         {address5, std::string(99, 'e')}}));
  book.push_back(StudentRecord{});  // deleted: no card
  const std::string cards = book_vcard::ExportRecords(book);

  std::size_t start = 0;
  while (start < cards.size()) {
    const std::size_t end = cards.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends with CRLF";
    const std::string_view line(cards.data() + start, end - start);
    EXPECT_LE(line.size(), 75u) << line;
    EXPECT_TRUE(utf8::IsValid(line)) << "a fold split a character: " << line;
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    start = end + 2;
  }
  EXPECT_NE(cards.find("BDAY:20070125\r\nX-KESTREL-BIRTHDAY:01/25/2007\r\n"), std::string::npos);
  EXPECT_NE(cards.find("BDAY:20090417\r\nX-KESTREL-GENDER"), std::string::npos)
      << "an ISO date needs no second line";
  const std::size_t noDate = cards.find("X-KESTREL-BIRTHDAY:sometime in May\r\n");
  ASSERT_NE(noDate, std::string::npos);
  const std::size_t card = cards.rfind("BEGIN:VCARD", noDate);
  EXPECT_EQ(cards.substr(card, noDate - card).find("BDAY:"), std::string::npos)
      << "no BDAY for a text that is no date";

  const std::string cards30 = book_vcard::ExportRecords(book, book_vcard::Version::k30);
  EXPECT_NE(cards30.find("VERSION:3.0\r\n"), std::string::npos);
  EXPECT_NE(cards30.find("BDAY:2007-01-25\r\nX-KESTREL-BIRTHDAY:01/25/2007\r\n"),
            std::string::npos);

  // 2.1: no line over 76 octets, UTF-8 as quoted-printable, nothing else
  // beyond ASCII.
  const std::string cards21 = book_vcard::ExportRecords(book, book_vcard::Version::k21);
  for (std::size_t at = 0, end; at < cards21.size(); at = end + 2) {
    end = cards21.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - at, 76u) << cards21.substr(at, end - at);
  }
  EXPECT_TRUE(std::all_of(cards21.begin(), cards21.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  EXPECT_NE(cards21.find("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:"), std::string::npos);
  EXPECT_NE(cards21.find("TEL;HOME:"), std::string::npos);

  book.pop_back();
  for (const std::string* written : {&cards, &cards30, &cards21}) {
    RecordList imported;
    const book_vcard::ImportResult r = book_vcard::ImportRecords(*written, imported);
    ASSERT_TRUE(r.ok) << r.error;
    ExpectSameRecords(imported, book, written->substr(0, 25));
    EXPECT_EQ(r.extraPhones + r.extraEmails + r.extraAddresses + r.otherProperties, 0u);
  }
}

// Values as other writers give them: 4.0's GENDER, and line breaks that
// quoted-printable carries.
TEST(VCardTest, ValuesOfOtherWritersFindTheirField) {
  const struct {
    const char* lines;  // between BEGIN:VCARD and END:VCARD
    int field;
    const char* expected;
  } cases[] = {
      {"VERSION:4.0\r\nN:Doe;Jo\r\nGENDER:F\r\n", gender, "F"},
      {"VERSION:4.0\r\nN:Doe;Jo\r\nGENDER:M;boy\r\n", gender, "M"},
      {"VERSION:4.0\r\nN:Doe;Jo\r\nGENDER:M\r\nX-KESTREL-GENDER:boy\r\n", gender, "boy"},
      {"VERSION:4.0\r\nN:Doe;Jo\r\nGENDER:U\r\n", gender, ""},
      {"VERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:Smith=0D=0AJones;Jo\r\n", lastName,
       "Smith Jones"},
      {"VERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:Smi=\r\nth=0AJones;Jo\r\n", lastName,
       "Smith Jones"},
      // Symptom: a colon inside a quoted parameter ended the name, and the
      // rest of the parameter became the number.
      {"VERSION:3.0\r\nN:Doe;Jo\r\nTEL;TYPE=\"a:b\":555\r\n", phone, "555"},
      // Symptom: a card with only FN gave "Ann Smith" as the last name: its
      // last word is the last name, the words before it the first name.
      {"VERSION:3.0\r\nFN:Mary Ann Smith\r\n", lastName, "Smith"},
      {"VERSION:3.0\r\nFN:Mary Ann Smith\r\n", firstName, "Mary Ann"},
  };
  for (const auto& row : cases) {
    RecordList records;
    const std::string card = std::string("BEGIN:VCARD\r\n") + row.lines + "END:VCARD\r\n";
    const book_vcard::ImportResult r = book_vcard::ImportRecords(card, records);
    ASSERT_TRUE(r.ok) << row.lines << ": " << r.error;
    ASSERT_EQ(records.size(), 1u) << row.lines;
    EXPECT_STREQ(records[0].fields[row.field], row.expected) << row.lines;
  }
}

TEST(VCardTest, BirthdaysBecomeDatesOnlyBeyondDoubt) {
  struct Case {
    const char* text;
    const char* iso;  // empty: no date
  } cases[] = {
      {"2009-04-17", "2009-04-17"}, {"2009/4/7", "2009-04-07"},   {"20090417", "2009-04-17"},
      {"17 April 2009", "2009-04-17"}, {"Apr 17, 2009", "2009-04-17"}, {"17/04/2009", "2009-04-17"},
      {"04.17.2009", "2009-04-17"}, {"05/05/2009", "2009-05-05"},  {"04/05/2009", ""},
      {"29/02/2008", "2008-02-29"}, {"29/02/2009", ""},            {"17/04/09", ""},
      {"2009-13-01", ""},           {"17 Foo 2009", ""},           {"about 2009", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    const std::optional<CalendarDate> date = ReadDateWithoutDoubt(c.text);
    EXPECT_EQ(date ? IsoDate(*date) : "", c.iso) << c.text;
  }
}

// Error paths follow: each refusal names the line and leaves the book alone.
TEST(VCardTest, RefusalsNameTheLine) {
  const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Bo;;;\r\n";
  struct Case {
    const char* name;
    std::string text;
    std::string error;
  } cases[] = {
      {"too long", card + "EMAIL:" + std::string(100, 'a') + "\r\nEND:VCARD\r\n",
       "line 4 (EMAIL, email): longer than 99 bytes in Windows-1252 (100)"},
      {"outside the code page", card + "ADR:;;\xE4\xB8\xAD;;;;\r\nEND:VCARD\r\n",
       "line 4 (ADR, address1): character U+4E2D has no place in Windows-1252"},
      {"unknown charset", card + "EMAIL;CHARSET=SHIFT_JIS:x\r\nEND:VCARD\r\n",
       "line 4 (EMAIL): charset SHIFT_JIS cannot be read; the charsets read are UTF-8, "
       "ISO-8859-1 and Windows-1252"},
      {"not closed", card, "line 1: card not closed before the end of the file"},
      {"text outside", card + "END:VCARD\r\nhello\r\n", "line 5: text outside a card"},
      {"no colon", card + "NOTE\r\nEND:VCARD\r\n", "line 4: no colon in the line"},
      {"UTF-16", "\xFF\xFE" "B\0", "line 1: the file is UTF-16 text; save it in UTF-8"},
  };
  for (const Case& row : cases) {
    RecordList records{Record({{lastName, "Earlier"}})};
    const book_vcard::ImportResult r = book_vcard::ImportRecords(row.text, records);
    EXPECT_FALSE(r.ok) << row.name;
    EXPECT_EQ(r.error, row.error) << row.name;
    ASSERT_EQ(records.size(), 1u) << row.name;
  }
}

}  // namespace
