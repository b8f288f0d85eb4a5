// Birthdays are free text in the book; vCard wants a date. This reads a text
// as a date only where no reader could take it for another one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct CalendarDate {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to the month's length
  bool operator==(const CalendarDate&) const = default;
};

// The date that `text` names beyond doubt, or nothing. Read: year first
// ("2009-04-17", "2009/4/17", "20090417"); a month by its English name or
// abbreviation ("17 April 2009", "Apr 17, 2009"); and day and month in
// either order before a four-digit year ("17/04/2009", "04.17.2009") only
// when one reading alone is a date, or both give the same one
// ("05/05/2009"). Two-digit years, other words and impossible dates give
// nothing.
std::optional<CalendarDate> ReadDateWithoutDoubt(std::string_view text);

// "2009-04-17".
std::string IsoDate(const CalendarDate& date);

// "20090417", the form vCard 4.0 writes.
std::string BasicDate(const CalendarDate& date);

// A vCard date value "20090417" or "2009-04-17", perhaps followed by a time
// ("T000000Z"), as a date; nothing for any other value.
std::optional<CalendarDate> ReadVCardDate(std::string_view value);
