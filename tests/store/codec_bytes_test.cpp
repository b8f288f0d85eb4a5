// The exact bytes and codes of the data file for known inputs.
#include <gtest/gtest.h>

#include <string>

#include "store/codec/codec_buffer.h"
#include "store/codec/huffman_codec.h"
#include "test_bytes.h"

namespace {

std::string CodeString(const HuffCode& code) {
  std::string out;
  for (auto bit : code) out += bit != 0 ? '1' : '0';
  return out;
}

std::string EncodeWith(std::string_view input, HuffmanCodec::Engine engine) {
  std::string file;
  HuffmanCodec codec(input, file, engine);
  EXPECT_EQ(codec.Encode(), HuffmanCodec::EncodeStatus::written);
  return file;
}

struct FileCase {
  const char* name;
  std::string input;
  const char* file;
};

TEST(CodecBytes, KnownInputsGiveKnownFilesAndBack) {
  std::string recordLine = "A\tB" + std::string(16, '\t') + "\n";
  const FileCase cases[] = {
      {"empty", "", "00 00 00 00 00 00 00"},
      {"a", "a", "06 01 00 00 00 05 00 61 01 00 00 00 00"},
      {"abc", "abc", "14 05 00 00 00 0F 00 61 01 00 00 00 62 01 00 00 00 63 01 00 00 00 B0"},
      {"abracadabra", "abracadabra",
       "30 17 00 00 00 19 00 61 05 00 00 00 62 02 00 00 00 63 01 00 00 00 64 01 00 00 00 72 02 "
       "00 00 00 6E 8A DC"},
      {"record line", recordLine,
       "2D 19 00 00 00 14 00 09 11 00 00 00 0A 01 00 00 00 41 01 00 00 00 42 01 00 00 00 73 FF "
       "FD 00"},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (auto engine : {HuffmanCodec::Engine::fast, HuffmanCodec::Engine::reference}) {
      EXPECT_EQ(Hex(EncodeWith(c.input, engine)), c.file);
      std::string text;
      const std::string file = Bytes(c.file);
      HuffmanCodec decoder(file, text, engine);
      decoder.Decode();
      EXPECT_EQ(text, c.input);
      EXPECT_FALSE(decoder.report().damaged) << decoder.report().problem;
    }
  }
}

struct CodeCase {
  const char* name;
  std::string input;
  std::vector<std::pair<unsigned char, const char*>> codes;
  std::int64_t totalBits;
};

TEST(CodecBytes, TreeShapeAndCodes) {
  const CodeCase cases[] = {
      {"abc", "abc", {{'a', "10"}, {'b', "11"}, {'c', "0"}}, 5},
      {"abracadabra",
       "abracadabra",
       {{'a', "0"}, {'c', "100"}, {'d', "101"}, {'b', "110"}, {'r', "111"}},
       23},
      {"one value", "aaaa", {{'a', "0"}, {' ', "1"}}, 4},
      // The real leaf gets 0 first; the placeholder (also a space) overwrites it with 1.
      {"all spaces", "    ", {{' ', "1"}}, 4},
  };
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file;
    HuffmanCodec codec(c.input, file);
    ASSERT_EQ(codec.Encode(), HuffmanCodec::EncodeStatus::written);
    EXPECT_EQ(codec.totalBits, c.totalBits);
    for (const auto& [byte, code] : c.codes) {
      EXPECT_EQ(CodeString(codec.CodeFor(byte)), code) << "byte " << int{byte};
    }
    std::string back;
    EXPECT_EQ(DecodeBuffer(file, back).problem, "");
    EXPECT_EQ(back, c.input);
  }
}

TEST(CodecBytes, OneValueTreeHasPlaceholderOnTheRight) {
  std::string file;
  HuffmanCodec codec("aaaa", file);
  codec.freq['a'] = 4;
  codec.root = codec.BuildTree();
  ASSERT_NE(codec.root, nullptr);
  ASSERT_FALSE(codec.root->IsLeaf());
  EXPECT_EQ(codec.root->left->symbol, 'a');
  EXPECT_EQ(codec.root->left->weight, 4);
  EXPECT_TRUE(codec.root->right->IsLeaf());
  EXPECT_EQ(codec.root->right->symbol, ' ');
  EXPECT_EQ(codec.root->right->weight, 0);
}

TEST(CodecBytes, AllByteValuesOnceGiveEightBitCodes) {
  std::string input;
  for (int v = 0; v < 256; ++v) input += static_cast<char>(v);
  std::string file;
  HuffmanCodec codec(input, file);
  ASSERT_EQ(codec.Encode(), HuffmanCodec::EncodeStatus::written);
  EXPECT_EQ(codec.totalBits, 2048);
  for (int v = 0; v < 256; ++v) EXPECT_EQ(codec.CodeFor(v).size(), 8u) << "byte " << v;
  EXPECT_EQ(CodeString(codec.CodeFor(0)), "00000000");
  EXPECT_EQ(CodeString(codec.CodeFor(1)), "11101111");
  EXPECT_EQ(CodeString(codec.CodeFor(255)), "01101001");
  EXPECT_EQ(file.size(), 7u + 1280u + 256u);  // a whole last byte: no padding byte
  std::string back;
  DecodeBuffer(file, back);
  EXPECT_EQ(back, input);
}

TEST(CodecBytes, ChecksumWrapsModulo256) {
  std::string file;
  HuffmanCodec codec("", file);
  codec.totalBits = 1000;
  codec.WriteTable();
  codec.WriteHeader(85);  // 17 distinct values
  EXPECT_EQ(Hex(file.substr(0, 7)), "3D E8 03 00 00 55 00");
}

TEST(CodecBytes, EmptyFileDecodesToNothing) {
  std::string text;
  const DecodeReport report = DecodeBuffer(Bytes("00 00 00 00 00 00 00"), text);
  EXPECT_EQ(text, "");
  EXPECT_FALSE(report.damaged);
  EXPECT_TRUE(report.checksumOk);
}

}  // namespace
