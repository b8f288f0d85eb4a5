// Reading CSV and vCard costs time in proportion to the input: a hostile
// file twice as large takes about twice as long, never four times. Measured
// as a ratio of the same shape at 1 MB and 2 MB, so a slow machine passes
// and a quadratic step fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <string>

#include "tools/book_csv.h"
#include "tools/book_vcard.h"

namespace {

std::string Repeat(std::string_view piece, std::size_t bytes) {
  std::string out;
  out.reserve(bytes + piece.size());
  while (out.size() < bytes) out += piece;
  return out;
}

// A hostile input of about `bytes` bytes.
using Shape = std::function<std::string(std::size_t bytes)>;

struct Case {
  const char* name;
  bool vcard;
  Shape make;
};

const Case kCases[] = {
    // The parameter is long enough to make a quadratic step plain, short
    // enough that a quadratic read fails in seconds rather than minutes.
    {"vcard: a long parameter, then many quoted-printable soft breaks", true,
     [](std::size_t n) {
       return "BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;ENCODING=QUOTED-PRINTABLE;X-P=" +
              std::string(n / 1024, 'p') + ":a" + Repeat("=\r\n", n) + "b\r\nEND:VCARD\r\n";
     }},
    {"vcard: a long value folded into many lines", true,
     [](std::size_t n) {
       return "BEGIN:VCARD\r\nVERSION:3.0\r\nNOTE:" + Repeat("\r\n x", n) + "\r\nEND:VCARD\r\n";
     }},
    {"vcard: many properties in one card", true,
     [](std::size_t n) {
       return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Jo\r\n" + Repeat("TEL;TYPE=home:1\r\n", n) +
              "END:VCARD\r\n";
     }},
    {"vcard: many empty cards", true,
     [](std::size_t n) { return Repeat("BEGIN:VCARD\r\nVERSION:4.0\r\nEND:VCARD\r\n", n); }},
    {"csv: many blank rows", false,
     [](std::size_t n) { return "last_name,first_name\r\n" + Repeat(",\r\n", n); }},
    {"csv: one huge quoted field", false,
     [](std::size_t n) { return "last_name\r\n\"" + Repeat("a\"\"b", n) + "\"\r\n"; }},
};

double ReadSeconds(const std::string& text, bool vcard) {
  RecordList records;
  // Processor time, not the wall clock: time spent waiting for a busy
  // machine's processor is no part of the read.
  const std::clock_t start = std::clock();
  if (vcard) {
    book_vcard::ImportRecords(text, records);
  } else {
    book_csv::ImportRecords(text, records);
  }
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// How much longer the 2 MB input takes than the 1 MB one. Each is read a few
// times, in turns, and the fastest read counts: the one least disturbed by
// whatever else the machine is doing. A read that takes long is not repeated.
double Ratio(const Case& c) {
  constexpr std::size_t kMegabyte = std::size_t{1} << 20;
  const std::string one = c.make(kMegabyte);
  const std::string two = c.make(2 * kMegabyte);
  double fastestOne = 1e9, fastestTwo = 1e9;
  for (int run = 0; run == 0 || (run < 3 && fastestTwo < 0.5); ++run) {
    fastestOne = std::min(fastestOne, ReadSeconds(one, c.vcard));
    fastestTwo = std::min(fastestTwo, ReadSeconds(two, c.vcard));
  }
  return fastestTwo / std::max(fastestOne, 1e-5);
}

TEST(LinearReadTest, TwiceTheInputTakesAboutTwiceTheTime) {
#ifdef _WIN32
  GTEST_SKIP() << "clock() counts wall time on Windows; the reading code is the same on both";
#endif
  for (const Case& c : kCases) {
    // Linear gives 2, quadratic 4; the margin is for a shared machine's
    // noise, and a ratio above it is measured once more before it counts.
    double ratio = Ratio(c);
    if (ratio >= 3.2) ratio = std::min(ratio, Ratio(c));
    EXPECT_LT(ratio, 3.2) << c.name;
  }
}

}  // namespace
