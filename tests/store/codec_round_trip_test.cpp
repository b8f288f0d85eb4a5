// Round trips through the codec, and the fast engine against the
// bit-by-bit reference on the same inputs and files.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "store/codec/bit_writer.h"
#include "store/codec/code_packer.h"
#include "store/codec/codec_buffer.h"
#include "store/codec/huffman_codec.h"
#include "store/codec/table_decoder.h"

namespace {

using Engine = HuffmanCodec::Engine;

std::string Encode(const std::string& input, Engine engine) {
  std::string file;
  HuffmanCodec codec(input, file, engine);
  EXPECT_EQ(codec.Encode(), HuffmanCodec::EncodeStatus::written);
  return file;
}

std::string Decode(const std::string& file, Engine engine, DecodeReport* report = nullptr) {
  std::string text;
  HuffmanCodec codec(file, text, engine);
  codec.Decode();
  if (report != nullptr) *report = codec.report();
  return text;
}

void ExpectRoundTrip(const std::string& input) {
  const std::string file = Encode(input, Engine::fast);
  ASSERT_EQ(file, Encode(input, Engine::reference));
  DecodeReport report;
  EXPECT_EQ(Decode(file, Engine::fast, &report), input);
  EXPECT_FALSE(report.damaged) << report.problem;
  EXPECT_EQ(Decode(file, Engine::reference), input);
}

TEST(CodecRoundTrip, RandomBytesOfManySizesAndSkews) {
  std::mt19937 random(7);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::size_t size = round < 20 ? round : random() % 20000;
    // Geometric choice of byte values: round 0 is uniform, later rounds ever more skewed.
    std::geometric_distribution<int> skewed(0.02 + 0.015 * (round % 40));
    std::string input;
    for (std::size_t i = 0; i < size; ++i) {
      input += static_cast<char>(round % 3 == 0 ? random() % 256 : skewed(random) % 256);
    }
    ExpectRoundTrip(input);
  }
}

TEST(CodecRoundTrip, CodesLongerThanTheLookupWidth) {
  // Counts doubling from 1: byte v occurs 2^v times, so codes reach 17 bits.
  std::string input;
  for (int v = 0; v < 18; ++v) input.append(std::size_t{1} << v, static_cast<char>('A' + v));
  std::shuffle(input.begin(), input.end(), std::mt19937(3));
  std::string file;
  HuffmanCodec codec(input, file);
  ASSERT_EQ(codec.Encode(), HuffmanCodec::EncodeStatus::written);
  EXPECT_GT(static_cast<int>(codec.CodeFor('A').size()), TableDecoder::kLookupBits);
  ExpectRoundTrip(input);
}

// Codes of more than 32 bits need more than 2^32 bytes of real input; the
// table of Fibonacci counts gives them without it. The payload here holds
// a short message under those codes, and both engines must agree on it.
TEST(CodecRoundTrip, CodesLongerThan32BitsPackAndDecodeAlike) {
  std::string file;
  HuffmanCodec codec("", file);
  std::int32_t a = 1, b = 1;
  for (int v = 0; v < 44; ++v) {
    codec.freq[v] = a;
    const std::int32_t next = a + b;
    a = b;
    b = next;
  }
  codec.root = codec.BuildTree();
  codec.AssignCodes(codec.root, "");
  EXPECT_GT(codec.CodeFor(0).size(), 40u);

  std::string message;
  std::uint64_t bits = 0;
  for (int i = 0; i < 300; ++i) {
    const auto byte = static_cast<unsigned char>((i * 7) % 44);
    message += static_cast<char>(byte);
    bits += codec.CodeFor(byte).size();
  }
  std::string packed, reference;
  CodePacker(codec.codeTable).Pack(message, bits, packed);
  BitWriter writer(reference);
  for (unsigned char c : message) writer.PutCode(codec.CodeFor(c));
  writer.Finish();
  ASSERT_EQ(packed, reference);

  std::string decoded;
  TableDecoder(codec.root).Decode(packed, bits, message.size(), decoded);
  EXPECT_EQ(decoded, message);
}

// Files that pass the header checks but hold arbitrary tables (huge counts
// whose sums wrap, repeated values, zero counts) and payloads of any length:
// both engines decode them to the same bytes and the same report.
TEST(CodecRoundTrip, FastAndReferenceDecodersAgreeOnArbitraryFiles) {
  std::mt19937 random(11);
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int entries = static_cast<int>(random() % 257);
    std::string table;
    for (int i = 0; i < entries; ++i) {
      table += static_cast<char>(random() % 256);
      std::uint32_t count = random();
      if (round % 4 == 1) count %= 1000;  // small counts: shallow, balanced trees
      if (round % 4 == 2) count = 1u << (random() % 31);
      for (int k = 0; k < 4; ++k) table += static_cast<char>((count >> (8 * k)) & 0xFF);
    }
    const auto tableSize = static_cast<std::int16_t>(table.size());
    const std::int32_t totalBits = static_cast<std::int32_t>(random() % 40000);
    const auto sum = static_cast<std::uint32_t>(tableSize + totalBits);
    std::string file(1, static_cast<char>(sum & 0xFF));
    for (int k = 0; k < 4; ++k) file += static_cast<char>((totalBits >> (8 * k)) & 0xFF);
    file += static_cast<char>(tableSize & 0xFF);
    file += static_cast<char>((tableSize >> 8) & 0xFF);
    file += table;
    const std::size_t payload = random() % (static_cast<std::size_t>(totalBits) / 8 + 16);
    for (std::size_t i = 0; i < payload; ++i) file += static_cast<char>(random());

    DecodeReport fast, reference;
    const std::string fastText = Decode(file, Engine::fast, &fast);
    const std::string referenceText = Decode(file, Engine::reference, &reference);
    ASSERT_EQ(fastText, referenceText);
    EXPECT_EQ(fast.problem, reference.problem);
    EXPECT_LE(fastText.size(), 8 * payload);
  }
}

TEST(CodecRoundTrip, TooLargeIsRefusedNotWrapped) {
  // 2^28 bytes spread evenly over all 256 values: 8-bit codes, 2^31 code bits.
  std::string input(std::size_t{1} << 28, '\0');
  for (std::size_t i = 0; i < input.size(); ++i) input[i] = static_cast<char>(i & 0xFF);
  std::string file = "old";
  EXPECT_EQ(EncodeBuffer(input, file), HuffmanCodec::EncodeStatus::tooLarge);
  EXPECT_EQ(file, "");
  input.resize(input.size() - 1);  // one bit below the limit... by 8 bits: writable
  EXPECT_EQ(EncodeBuffer(input, file), HuffmanCodec::EncodeStatus::written);
}

}  // namespace
