// The bit-by-bit writer and reader.
#include <gtest/gtest.h>

#include <string>

#include "store/codec/bit_reader.h"
#include "store/codec/bit_writer.h"
#include "test_bytes.h"

namespace {

TEST(BitWriter, FirstBitIsMostSignificantAndLastBytePadsWithZeros) {
  std::string out;
  BitWriter writer(out);
  for (int bit : {1, 0, 1, 1, 0}) writer.PutBit(bit);
  writer.Finish();
  EXPECT_EQ(Hex(out), "B0");
}

TEST(BitWriter, EightBitsWriteOneByteAndFinishAddsNothing) {
  std::string out;
  BitWriter writer(out);
  for (int bit : {1, 1, 0, 0, 1, 0, 1, 0}) writer.PutBit(bit);
  EXPECT_EQ(Hex(out), "CA");
  writer.Finish();
  EXPECT_EQ(Hex(out), "CA");
}

TEST(BitWriter, IgnoresValuesOtherThanZeroAndOne) {
  std::string out;
  BitWriter writer(out);
  for (int bit : {1, 2, -1, 1}) writer.PutBit(bit);
  writer.Finish();
  EXPECT_EQ(Hex(out), "C0");
}

TEST(BitReader, MostSignificantFirstThenRepeatsLastBitOfLastByte) {
  const std::string in = Bytes("80 01");
  BitReader reader(in);
  std::string bits;
  for (int i = 0; i < 20; ++i) bits += reader.GetBit() != 0 ? '1' : '0';
  EXPECT_EQ(bits,
            "1000000000000001"
            "1111");
}

TEST(BitReader, EmptyInputGivesZeros) {
  BitReader reader("");
  for (int i = 0; i < 10; ++i) EXPECT_EQ(reader.GetBit(), 0) << "bit " << i;
}

}  // namespace
