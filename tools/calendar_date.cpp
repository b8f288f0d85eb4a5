// Reading dates from free text.
#include "tools/calendar_date.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <vector>

namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool Valid(const CalendarDate& d) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (d.year < 1000 || d.month < 1 || d.month > 12 || d.day < 1) return false;
  const int days = kDays[d.month - 1] + (d.month == 2 && IsLeap(d.year) ? 1 : 0);
  return d.day <= days;
}

struct Token {
  bool number;
  std::string text;
};

int MonthNamed(std::string word) {
  static constexpr std::array<const char*, 12> kNames = {
      "january", "february", "march",     "april",   "may",      "june",
      "july",    "august",   "september", "october", "november", "december"};
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (word == "sept") return 9;
  for (int m = 0; m < 12; ++m) {
    const std::string name = kNames[m];
    if (word == name || (word.size() == 3 && name.compare(0, 3, word) == 0)) return m + 1;
  }
  return 0;
}

// Splits into runs of digits and runs of letters; blanks, commas, dots,
// slashes and hyphens only separate. Anything else fails.
bool Tokenize(std::string_view text, std::vector<Token>& tokens) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (std::isdigit(c) || std::isalpha(c)) {
      const bool number = std::isdigit(c);
      std::size_t j = i;
      while (j < text.size() && (number ? std::isdigit(static_cast<unsigned char>(text[j]))
                                        : std::isalpha(static_cast<unsigned char>(text[j])))) {
        ++j;
      }
      tokens.push_back({number, std::string(text.substr(i, j - i))});
      i = j;
      continue;
    }
    if (c != ' ' && c != ',' && c != '.' && c != '/' && c != '-') return false;
    ++i;
  }
  return true;
}

int Number(const Token& token) { return std::stoi(token.text); }
bool DayOrMonth(const Token& t) { return t.number && !t.text.empty() && t.text.size() <= 2; }
bool Year(const Token& t) { return t.number && t.text.size() == 4; }

std::optional<CalendarDate> Checked(CalendarDate date) {
  if (!Valid(date)) return std::nullopt;
  return date;
}

}  // namespace

std::optional<CalendarDate> ReadDateWithoutDoubt(std::string_view text) {
  std::vector<Token> t;
  if (!Tokenize(text, t)) return std::nullopt;
  if (t.size() == 1 && t[0].number && t[0].text.size() == 8) {
    const std::string& s = t[0].text;
    return Checked({std::stoi(s.substr(0, 4)), std::stoi(s.substr(4, 2)), std::stoi(s.substr(6, 2))});
  }
  if (t.size() != 3) return std::nullopt;
  if (Year(t[0]) && DayOrMonth(t[1]) && DayOrMonth(t[2])) {
    return Checked({Number(t[0]), Number(t[1]), Number(t[2])});
  }
  if (!Year(t[2])) return std::nullopt;
  const int year = Number(t[2]);
  if (!t[0].number && DayOrMonth(t[1])) return Checked({year, MonthNamed(t[0].text), Number(t[1])});
  if (DayOrMonth(t[0]) && !t[1].number) return Checked({year, MonthNamed(t[1].text), Number(t[0])});
  if (DayOrMonth(t[0]) && DayOrMonth(t[1])) {
    const std::optional<CalendarDate> dayFirst = Checked({year, Number(t[1]), Number(t[0])});
    const std::optional<CalendarDate> monthFirst = Checked({year, Number(t[0]), Number(t[1])});
    if (dayFirst && monthFirst) return *dayFirst == *monthFirst ? dayFirst : std::nullopt;
    return dayFirst ? dayFirst : monthFirst;
  }
  return std::nullopt;
}

std::string IsoDate(const CalendarDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::string BasicDate(const CalendarDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
  return text;
}

std::optional<CalendarDate> ReadVCardDate(std::string_view value) {
  if (const std::size_t time = value.find('T'); time != std::string_view::npos) {
    value = value.substr(0, time);
  }
  std::string digits;
  if (value.size() == 10 && value[4] == '-' && value[7] == '-') {
    digits = std::string(value.substr(0, 4)) + std::string(value.substr(5, 2)) +
             std::string(value.substr(8, 2));
  } else if (value.size() == 8) {
    digits = value;
  } else {
    return std::nullopt;
  }
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  return Checked({std::stoi(digits.substr(0, 4)), std::stoi(digits.substr(4, 2)),
                  std::stoi(digits.substr(6, 2))});
}
