// The generator draws from fixed word lists with its own small random
// number generator, so the books do not depend on the standard library's
// distributions, which differ between implementations.
#include "tools/book_generator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "text/field_text.h"

namespace {

// splitmix64: tiny, fast, and the same everywhere.
std::uint64_t Next(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

unsigned Below(std::uint64_t& state, unsigned n) { return static_cast<unsigned>(Next(state) % n); }
bool Chance(std::uint64_t& state, unsigned percent) { return Below(state, 100) < percent; }

template <std::size_t N>
const char* Pick(std::uint64_t& state, const char* const (&words)[N]) {
  return words[Below(state, N)];
}

// Accented letters are Windows-1252 bytes; literals are split where a hex
// escape would otherwise swallow the next letter.
const char* const kLastNames[] = {
    "Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez",
    "Martinez", "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor", "Moore",
    "Jackson", "Martin", "Lee", "Perez", "Thompson", "White", "Harris", "Sanchez", "Clark",
    "Ramirez", "Lewis", "Robinson", "Walker", "Young", "Allen", "King", "Wright", "Scott", "Torres",
    "Nguyen", "Hill", "Flores", "Green", "Adams", "Nelson", "Baker", "Hall", "Rivera", "Campbell",
    "Mitchell", "Carter", "Roberts", "O'Brien", "McDonald", "Chen", "Kim", "Patel", "Singh",
    "Kowalski", "Novak", "Schmidt", "Fischer",
    // hyphenated, two words, lower-case particles, accents
    "Smith-Jones", "Garcia-Lopez", "Taylor-Brown", "Van Dyke", "De Luca", "St. James",
    "van der Berg", "de la Cruz", "von Trapp", "di Angelo", "le Blanc", "M\xFCller",
    ("Pe\xF1" "a"),
    ("Garc\xED" "a"),
    "Bj\xF6rk", "Lef\xE8vre", "Fran\xE7ois", "\xC9mond",
    ("Ib\xE1\xF1" "ez"),
    "S\xF8rensen"};

const char* const kFirstNames[] = {"James",
                                   "Mary",
                                   "John",
                                   "Patricia",
                                   "Robert",
                                   "Jennifer",
                                   "Michael",
                                   "Linda",
                                   "William",
                                   "Elizabeth",
                                   "David",
                                   "Barbara",
                                   "Richard",
                                   "Susan",
                                   "Joseph",
                                   "Jessica",
                                   "Thomas",
                                   "Sarah",
                                   "Charles",
                                   "Karen",
                                   "Daniel",
                                   "Nancy",
                                   "Matthew",
                                   "Lisa",
                                   "Anthony",
                                   "Betty",
                                   "Mark",
                                   "Margaret",
                                   "Emily",
                                   "Olivia",
                                   "Liam",
                                   "Noah",
                                   "Emma",
                                   "Ava",
                                   "Sophia",
                                   "Isabella",
                                   "Mia",
                                   "Ethan",
                                   "Lucas",
                                   "Mason",
                                   "Aiden",
                                   "Chloe",
                                   "Grace",
                                   "Zoe",
                                   "Anna",
                                   "Mei",
                                   "Arjun",
                                   "Priya",
                                   "Jos\xE9",
                                   "Zo\xEB",
                                   ("Ren\xE9" "e"),
                                   "Fran\xE7ois",
                                   "Ana\xEFs",
                                   "Bj\xF6rn",
                                   "In\xE9s",
                                   "mary-kate",
                                   "jean-luc",
                                   "Mary Ann",
                                   "Anne-Marie"};

const char* const kStreets[] = {"Maple",      "Oak",   "Pine",   "Cedar",    "Elm",
                                "Washington", "Lake",  "Hill",   "Park",     "Main",
                                "Sunset",     "River", "Church", "Highland", "Mill",
                                "Spring",     "Ridge", "Forest", "Meadow",   "Chestnut"};
const char* const kStreetKinds[] = {"Street", "Avenue",    "Road", "Drive", "Lane",
                                    "Court",  "Boulevard", "Way",  "St.",   "Ave."};
const char* const kUnits[] = {"Apt", "Unit", "Suite", "Apt.", "#"};
const char* const kCities[] = {"Springfield",
                               "Riverside",
                               "Franklin",
                               "Greenville",
                               "Bristol",
                               "Clinton",
                               "Fairview",
                               "Salem",
                               "Madison",
                               "Georgetown",
                               "Arlington",
                               "Ashland",
                               "Burlington",
                               "Manchester",
                               "Oxford",
                               "Montr\xE9"
                               "al",
                               "San Jos\xE9",
                               "Qu\xE9"
                               "bec"};
const char* const kStates[] = {"IL", "CA", "TX", "NY", "OH", "PA", "MA", "WA", "OR", "QC", "ON"};
const char* const kDomains[] = {"gmail.com",  "yahoo.com", "outlook.com", "hotmail.com",
                                "school.edu", "mail.com",  "icloud.com"};
const char* const kCountries[] = {"USA", "Canada", "United States", "U.S.A."};

void Set(StudentRecord& record, int field, const std::string& text) {
  const std::size_t length = std::min(text.size(), field_text::kMaxLength);
  std::memcpy(record.fields[field], text.data(), length);
  record.fields[field][length] = '\0';
}

std::string Digits(std::uint64_t& state, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += static_cast<char>('0' + Below(state, 10));
  return out;
}

std::string Phone(std::uint64_t& state) {
  const std::string area = std::to_string(200 + Below(state, 800));
  const std::string exchange = std::to_string(200 + Below(state, 800));
  const std::string line = Digits(state, 4);
  switch (Below(state, 4)) {
    case 0:
      return "(" + area + ") " + exchange + "-" + line;
    case 1:
      return area + "-" + exchange + "-" + line;
    case 2:
      return area + "." + exchange + "." + line;
    default:
      return exchange + "-" + line;
  }
}

// Plain ASCII for e-mail addresses: accents dropped, blanks and quotes removed.
std::string MailPart(const char* name) {
  std::string out;
  for (const char* p = name; *p != '\0'; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c >= 'A' && c <= 'Z')
      out += static_cast<char>(c - 'A' + 'a');
    else if ((c >= 'a' && c <= 'z') || c == '-')
      out += static_cast<char>(c);
    else if (c >= 0xC0)
      out += "aaaaaaaceeeeiiiidnooooo/ouuuuyts"[(c - 0xC0) & 31];
  }
  return out;
}

std::string Birthday(std::uint64_t& state) {
  const unsigned year = 1995 + Below(state, 15), month = 1 + Below(state, 12),
                 day = 1 + Below(state, 28);
  char text[16];
  if (Chance(state, 70)) {
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", year, month, day);
  } else {
    std::snprintf(text, sizeof text, "%02u/%02u/%04u", month, day, year);
  }
  return text;
}

void Address(std::uint64_t& state, StudentRecord& record) {
  const std::string street = std::to_string(1 + Below(state, 9999)) + " " + Pick(state, kStreets) +
                             " " + Pick(state, kStreetKinds);
  const std::string more[4] = {
      std::string(Pick(state, kUnits)) + " " + std::to_string(1 + Below(state, 40)) +
          static_cast<char>('A' + Below(state, 6)),
      std::string(Pick(state, kCities)) + ", " + Pick(state, kStates),
      std::to_string(10000 + Below(state, 90000)), Pick(state, kCountries)};
  // Which of `more` an address of 1 + extra parts holds, in order.
  static constexpr int kChosen[5][4] = {{}, {1}, {1, 2}, {0, 1, 2}, {0, 1, 2, 3}};
  const unsigned extra = Below(state, 5);

  // Parts 2 to 5 usually follow on; sometimes blank parts come between.
  int slots[4] = {1, 2, 3, 4};
  if (Chance(state, 25)) {
    for (int i = 3; i > 0; --i) std::swap(slots[i], slots[Below(state, i + 1)]);
    std::sort(slots, slots + extra);
  }
  std::string parts[5] = {street};
  for (unsigned i = 0; i < extra; ++i) parts[slots[i]] = more[kChosen[extra][i]];
  for (int i = 0; i < 5; ++i) Set(record, address1 + i, parts[i]);
}

}  // namespace

StudentRecord GenerateRecord(std::uint64_t& state) {
  StudentRecord record;
  const char* last = Pick(state, kLastNames);
  const char* first = Pick(state, kFirstNames);
  Set(record, studentNo, std::to_string(2015 + Below(state, 10)) + Digits(state, 5));
  Set(record, lastName, last);
  Set(record, firstName, first);
  if (Chance(state, 60)) Set(record, middleName1, Pick(state, kFirstNames));
  if (Chance(state, 15)) Set(record, middleName2, Pick(state, kFirstNames));
  Set(record, gender, Chance(state, 50) ? "F" : "M");
  Set(record, birthday, Birthday(state));
  Set(record, phone, Phone(state));
  if (Chance(state, 85)) {
    Set(record, email,
        MailPart(first) + "." + MailPart(last) + std::to_string(Below(state, 100)) + "@" +
            Pick(state, kDomains));
  }
  if (Chance(state, 70)) Set(record, cellPhone, Phone(state));
  if (Chance(state, 80)) {
    Set(record, parentName,
        std::string(Pick(state, kFirstNames)) + " " +
            (Chance(state, 80) ? last : Pick(state, kLastNames)));
    Set(record, parentPhone, Phone(state));
  }
  Address(state, record);
  return record;
}

RecordList GenerateBook(std::size_t count, std::uint32_t seed) {
  RecordList records(count);
  std::uint64_t state = seed;
  for (StudentRecord& record : records) record = GenerateRecord(state);
  return records;
}
