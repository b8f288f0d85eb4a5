// The Huffman codec of the data file: one object per encoding or decoding.
//
// The data file ("phone.dat"), all integers little-endian:
//
//   file      := header table payload
//   header    := checksum:u8 totalBits:i32 tableSize:i16
//   checksum  := low 8 bits of (tableSize + totalBits)
//   table     := entry{tableSize / 5}       one per byte value that occurs,
//                                           ascending by value; 0..256 entries
//   entry     := value:u8 count:i32         count > 0
//   payload   := byte{(totalBits + 7) / 8}  the code of each input byte in
//                                           input order, most significant bit
//                                           first, the last byte padded with 0s
//
// The file stores the counts, not the tree: the reader rebuilds the same tree
// from the counts (BuildTree), so every step of the build is fixed. Nothing
// follows the payload; there is no magic number and no stored text length.
// totalBits and every count stay below 2^31.
//
// Encoding, one named step each: count (FrequencyCounter), build the tree
// (BuildTree), assign codes (AssignCodes), write the table (WriteTable), write
// the header (WriteHeader), write the bits (WriteBits).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/codec/decode_report.h"
#include "store/codec/huff_node.h"

class HuffmanCodec {
 public:
  // The fast engine packs codes through a 64-bit buffer and decodes through a
  // lookup table; the reference engine puts and takes one bit at a time and
  // walks the tree. Both give the same bytes.
  enum class Engine { fast, reference };

  enum class EncodeStatus {
    written,   // output holds the whole file
    tooLarge,  // a count or totalBits would reach 2^31; output is empty
  };

  static constexpr std::size_t kHeaderBytes = 7;
  static constexpr int kEntryBytes = 5;
  static constexpr int kMaxTableSize = 256 * kEntryBytes;
  static constexpr std::int64_t kLimit = std::int64_t{1} << 31;  // for counts and totalBits

  // Reads `input` and writes `output`; both must outlive the codec.
  HuffmanCodec(std::string_view input, std::string& output, Engine engine = Engine::fast);
  ~HuffmanCodec();
  HuffmanCodec(const HuffmanCodec&) = delete;
  HuffmanCodec& operator=(const HuffmanCodec&) = delete;

  // Replaces `output` with the data file for the bytes of `input`. The text
  // of a refused input is left unwritten (output empty).
  EncodeStatus Encode();

  // Appends to `output` the bytes that the data file in `input` holds, and
  // fills report(). Nothing is appended when the header is short or fails the
  // checksum, when the table size is impossible, or when the table is cut
  // short. A payload cut short decodes as far as the file goes and no
  // further. Never prints anything.
  void Decode();
  const DecodeReport& report() const { return report_; }

  // Reads only the header and table of the data file in `input` into `freq`
  // and report(); false when they cannot be read whole. Decodes nothing.
  bool ReadCounts();

  // The steps, public so that each can be run and tested alone.

  // Builds the tree from `freq` with the program's NodeQueue: a leaf for
  // each value with a count above 0, pushed in ascending order of value;
  // then the two lightest nodes popped become the left and right child of a
  // new node, until one node is left. A single leaf gets a placeholder
  // sibling (symbol 32, weight 0) on its right. Returns the root, or null
  // when no count is above 0. Leaves the queue empty. The caller owns the
  // result (the codec's steps store it in `root`).
  HuffNode* BuildTree() const;

  // Gives every leaf below `node` its path as code ("0" left, "1" right,
  // appended to `prefix`), storing it in codeTable at the leaf's symbol, and
  // adds weight × code length of each leaf to totalBits.
  void AssignCodes(const HuffNode* node, const std::string& prefix);

  // The code of `byte`; empty when the byte has none.
  const HuffCode& CodeFor(unsigned char byte) const { return codeTable[byte]; }

  // Resizes `output` to the header and appends the table; returns its size.
  std::int16_t WriteTable();
  // Writes the 7 header bytes at the start of `output`.
  void WriteHeader(std::int16_t tableSize);
  // Appends the code of every input byte, and the padding of the last byte.
  void WriteBits();

  CodeTable codeTable;
  std::int64_t totalBits = 0;  // wide enough to see the 2^31 limit passed
  std::array<std::int32_t, 256> freq{};
  HuffNode* root = nullptr;  // owned

 private:
  bool ReadHeader();
  bool ReadTable();
  void CheckBitCount();
  void DecodePayload();

  std::string_view input_;
  std::string& output_;
  Engine engine_;
  DecodeReport report_;
};
