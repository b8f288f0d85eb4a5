// What decoding makes of damaged and foreign files: exact problems, and
// never a byte that the file does not hold.
#include <gtest/gtest.h>

#include <string>

#include "store/codec/codec_buffer.h"
#include "test_bytes.h"

namespace {

const std::string kAbracadabra = Bytes(
    "30 17 00 00 00 19 00 61 05 00 00 00 62 02 00 00 00 63 01 00 00 00 64 01 00 00 00 72 02 "
    "00 00 00 6E 8A DC");

std::string With(std::string file, std::size_t offset, unsigned char value) {
  file[offset] = static_cast<char>(value);
  return file;
}

struct DamageCase {
  const char* name;
  std::string file;
  const char* problem;
  const char* text;  // what decoding still gives
};

TEST(CodecDamage, EachProblemIsNamedAndNothingIsInvented) {
  const DamageCase cases[] = {
      {"sound", kAbracadabra, "", "abracadabra"},
      {"empty file", "", "shorter than the 7-byte header: 0 bytes", ""},
      {"short header", Bytes("06 01 00"), "shorter than the 7-byte header: 3 bytes", ""},
      {"checksum changed", With(kAbracadabra, 0, 0x31), "bad checksum", ""},
      {"negative sum not a multiple of 256", Bytes("F8 F8 FF FF FF 00 00"), "bad checksum", ""},
      {"table size not a multiple of 5", Bytes("03 00 00 00 00 03 00 61 01 00"),
       "bad table size: 3", ""},
      {"table size above 1280", Bytes("05 00 00 00 00 05 05"), "bad table size: 1285", ""},
      {"negative table size", Bytes("00 05 00 00 00 FB FF"), "bad table size: -5", ""},
      {"table cut short", kAbracadabra.substr(0, 20), "table cut short: 13 of 25 bytes", ""},
      {"payload cut short", kAbracadabra.substr(0, 33), "payload cut short: 1 of 3 bytes", "abra"},
      {"payload missing", kAbracadabra.substr(0, 32), "payload cut short: 0 of 3 bytes", ""},
      {"negative bit count", Bytes("00 00 FF FF FF 00 00"), "negative bit count: -256", ""},
      // The changed count reshapes the tree, so the same bits read as other text.
      {"count changed without the header", With(kAbracadabra, 8, 4),
       "bit count does not match the table: 23, the counts need 22", "rdarbrrrda"},
      {"bytes after the payload", kAbracadabra + "xy", "unexpected bytes after the payload: 2",
       "abracadabra"},
      {"entries out of order", Bytes("0D 03 00 00 00 0A 00 62 01 00 00 00 61 02 00 00 00 C0"),
       "table entry 1: byte 97 out of order", "aab"},
      {"count not positive", Bytes("0C 02 00 00 00 0A 00 61 00 00 00 00 62 02 00 00 00 00"),
       "table entry 0: count 0 is not positive", "bb"},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text;
    const DecodeReport report = DecodeBuffer(c.file, text);
    EXPECT_EQ(report.problem, c.problem);
    EXPECT_EQ(report.damaged, *c.problem != '\0');
    EXPECT_EQ(text, c.text);
  }
}

TEST(CodecDamage, HugeBitCountWithTinyPayloadStopsAtTheFileEnd) {
  // totalBits 0x7FFFFF00 and a one-value table.
  const std::string file = Bytes("05 00 FF FF 7F 05 00 61 01 00 00 00 55");
  std::string text;
  const DecodeReport report = DecodeBuffer(file, text);
  EXPECT_EQ(report.problem, "payload cut short: 1 of 268435424 bytes");
  EXPECT_EQ(report.payloadBytesPresent, 1u);
  // 0x55 = 01010101: a, space, a, space... eight codes of the one-value tree.
  EXPECT_EQ(text, "a a a a ");
}

TEST(CodecDamage, ReportCarriesTheHeaderAndTable) {
  std::string text;
  const DecodeReport report = DecodeBuffer(kAbracadabra, text);
  EXPECT_TRUE(report.headerComplete);
  EXPECT_TRUE(report.checksumOk);
  EXPECT_EQ(report.checksum, 0x30);
  EXPECT_EQ(report.totalBits, 23);
  EXPECT_EQ(report.tableSize, 25);
  EXPECT_EQ(report.tableEntries, 5);
  EXPECT_EQ(report.countSum, 11u);
  EXPECT_EQ(report.bitsForCounts, 23);
  EXPECT_EQ(report.payloadBytesNeeded, 3u);
  EXPECT_EQ(report.payloadBytesPresent, 3u);
  EXPECT_EQ(report.bytesDecoded, 11u);
  EXPECT_EQ(report.fileBytes, 35u);
}

}  // namespace
