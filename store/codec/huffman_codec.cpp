// Encoding and decoding of the data file, step by step.
#include "store/codec/huffman_codec.h"

#include <algorithm>

#include "store/codec/bit_reader.h"
#include "store/codec/bit_writer.h"
#include "store/codec/code_packer.h"
#include "store/codec/frequency_counter.h"
#include "store/codec/node_queue.h"
#include "store/codec/table_decoder.h"

namespace {

std::int32_t ReadInt32(const unsigned char* in) {
  const std::uint32_t value = std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 |
                              std::uint32_t{in[2]} << 16 | std::uint32_t{in[3]} << 24;
  return static_cast<std::int32_t>(value);  // modulo 2^32 since C++20
}

void WriteInt32(char* out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

// The header's checksum sum: tableSize (sign-extended) + totalBits, wrapping.
std::int32_t ChecksumSum(std::int16_t tableSize, std::int32_t totalBits) {
  return WrappingSum(tableSize, totalBits);
}

// Sum over the leaves of weight × depth: the code bits the counts need.
std::int64_t CodeBits(const HuffNode* node, std::int64_t depth) {
  if (node->IsLeaf()) return node->weight * depth;
  return CodeBits(node->left, depth + 1) + CodeBits(node->right, depth + 1);
}

}  // namespace

HuffmanCodec::HuffmanCodec(std::string_view input, std::string& output, Engine engine)
    : input_(input), output_(output), engine_(engine) {}

HuffmanCodec::~HuffmanCodec() { delete root; }

HuffNode* HuffmanCodec::BuildTree() const {
  NodeQueue& queue = programNodeQueue;
  int leaves = 0;
  for (int v = 0; v < 256; ++v) {
    if (freq[v] <= 0) continue;  // zero and negative counts make no leaf
    queue.Push(new HuffNode(static_cast<std::uint8_t>(v), freq[v]));
    ++leaves;
  }
  if (leaves == 0) return nullptr;
  if (leaves == 1) {
    HuffNode* only = queue.Pop();
    return new HuffNode(only, new HuffNode(HuffNode::kInternalSymbol, 0));
  }
  for (;;) {
    HuffNode* first = queue.Pop();
    if (queue.Empty()) return first;
    HuffNode* second = queue.Pop();
    queue.Push(new HuffNode(first, second));
  }
}

void HuffmanCodec::AssignCodes(const HuffNode* node, const std::string& prefix) {
  if (node == nullptr) return;
  if (!node->IsLeaf()) {
    AssignCodes(node->left, prefix + "0");
    AssignCodes(node->right, prefix + "1");
    return;
  }
  totalBits += std::int64_t{node->weight} * static_cast<std::int64_t>(prefix.size());
  HuffCode& code = codeTable[node->symbol];
  code.clear();
  for (char c : prefix) code.push_back(c == '0' ? 0 : 1);
}

HuffmanCodec::EncodeStatus HuffmanCodec::Encode() {
  output_.clear();
  FrequencyCounter counter(input_);
  counter.Count();
  if (counter.Largest() >= static_cast<std::uint64_t>(kLimit)) return EncodeStatus::tooLarge;
  counter.CopyTo(freq);
  root = BuildTree();
  AssignCodes(root, "");
  if (totalBits >= kLimit) return EncodeStatus::tooLarge;
  const std::int16_t tableSize = WriteTable();
  WriteHeader(tableSize);
  WriteBits();
  return EncodeStatus::written;
}

std::int16_t HuffmanCodec::WriteTable() {
  output_.assign(kHeaderBytes, '\0');
  int size = 0;
  for (int v = 0; v < 256; ++v) {
    if (freq[v] <= 0) continue;
    char entry[kEntryBytes];
    entry[0] = static_cast<char>(v);
    WriteInt32(entry + 1, freq[v]);
    output_.append(entry, kEntryBytes);
    size += kEntryBytes;
  }
  return static_cast<std::int16_t>(size);
}

void HuffmanCodec::WriteHeader(std::int16_t tableSize) {
  const auto bits = static_cast<std::int32_t>(totalBits);  // below 2^31, checked by Encode
  output_[0] = static_cast<char>(ChecksumSum(tableSize, bits) & 0xFF);
  WriteInt32(&output_[1], bits);
  output_[5] = static_cast<char>(static_cast<std::uint16_t>(tableSize) & 0xFF);
  output_[6] = static_cast<char>(static_cast<std::uint16_t>(tableSize) >> 8);
}

void HuffmanCodec::WriteBits() {
  if (engine_ == Engine::fast) {
    CodePacker(codeTable).Pack(input_, static_cast<std::uint64_t>(totalBits), output_);
    return;
  }
  BitWriter writer(output_);
  for (char c : input_) writer.PutCode(CodeFor(static_cast<unsigned char>(c)));
  writer.Finish();
}

void HuffmanCodec::Decode() {
  report_ = DecodeReport{};
  report_.fileBytes = input_.size();
  if (!ReadHeader() || !ReadTable()) return;
  root = BuildTree();
  CheckBitCount();
  DecodePayload();
}

bool HuffmanCodec::ReadCounts() {
  report_ = DecodeReport{};
  report_.fileBytes = input_.size();
  return ReadHeader() && ReadTable();
}

bool HuffmanCodec::ReadHeader() {
  const auto* in = reinterpret_cast<const unsigned char*>(input_.data());
  // Bound: the header is 7 bytes; a shorter file has no header to trust.
  if (input_.size() < kHeaderBytes) {
    report_.Damage("shorter than the 7-byte header: " + std::to_string(input_.size()) + " bytes");
    return false;
  }
  report_.headerComplete = true;
  report_.checksum = in[0];
  report_.totalBits = ReadInt32(in + 1);
  report_.tableSize = static_cast<std::int16_t>(static_cast<std::uint16_t>(in[5] | in[6] << 8));
  // The remainder truncates toward zero, as the writer's reader always did:
  // a negative sum fails unless it is a multiple of 256.
  const std::int32_t sum = ChecksumSum(report_.tableSize, report_.totalBits);
  report_.checksumOk = sum % 256 == static_cast<std::int32_t>(report_.checksum);
  if (!report_.checksumOk) {
    report_.Damage("bad checksum");
    return false;
  }
  // Bound: 0 to 256 entries of 5 bytes; any other size cannot come from a writer.
  if (report_.tableSize < 0 || report_.tableSize > kMaxTableSize ||
      report_.tableSize % kEntryBytes != 0) {
    report_.Damage("bad table size: " + std::to_string(report_.tableSize));
    return false;
  }
  return true;
}

bool HuffmanCodec::ReadTable() {
  const std::size_t tableSize = static_cast<std::size_t>(report_.tableSize);
  const std::size_t tableEnd = kHeaderBytes + tableSize;
  // Bound: the whole table must be present, or no count can be trusted.
  if (input_.size() < tableEnd) {
    report_.Damage("table cut short: " + std::to_string(input_.size() - kHeaderBytes) + " of " +
                   std::to_string(tableSize) + " bytes");
    return false;
  }
  const auto* in = reinterpret_cast<const unsigned char*>(input_.data());
  int previous = -1;
  for (std::size_t offset = kHeaderBytes; offset < tableEnd; offset += kEntryBytes) {
    const int value = in[offset];
    const std::int32_t count = ReadInt32(in + offset + 1);
    const int entry = report_.tableEntries++;
    // A writer lists each value once, ascending, with a count above 0. The
    // later count of a repeated value wins, and counts of 0 or below make no leaf.
    if (value <= previous) {
      report_.Damage("table entry " + std::to_string(entry) + ": byte " + std::to_string(value) +
                     " out of order");
    }
    if (count <= 0) {
      report_.Damage("table entry " + std::to_string(entry) + ": count " + std::to_string(count) +
                     " is not positive");
    }
    previous = value;
    freq[value] = count;
  }
  for (std::int32_t count : freq) {
    if (count > 0) report_.countSum += static_cast<std::uint64_t>(count);
  }
  return true;
}

void HuffmanCodec::CheckBitCount() {
  const std::size_t tableEnd = kHeaderBytes + static_cast<std::size_t>(report_.tableSize);
  report_.payloadBytesPresent = input_.size() - tableEnd;
  // Bound: a negative bit count is no payload at all (and makes no output).
  const std::int64_t bits = std::max<std::int64_t>(report_.totalBits, 0);
  report_.payloadBytesNeeded = static_cast<std::uint64_t>((bits + 7) / 8);
  report_.bitsForCounts = root != nullptr ? CodeBits(root, 0) : 0;
  if (report_.payloadBytesPresent < report_.payloadBytesNeeded) {
    report_.Damage("payload cut short: " + std::to_string(report_.payloadBytesPresent) + " of " +
                   std::to_string(report_.payloadBytesNeeded) + " bytes");
  }
  if (report_.totalBits < 0) {
    report_.Damage("negative bit count: " + std::to_string(report_.totalBits));
  }
  if (report_.totalBits != report_.bitsForCounts) {
    report_.Damage("bit count does not match the table: " + std::to_string(report_.totalBits) +
                   ", the counts need " + std::to_string(report_.bitsForCounts));
  }
  if (report_.payloadBytesPresent > report_.payloadBytesNeeded) {
    report_.Damage("unexpected bytes after the payload: " +
                   std::to_string(report_.payloadBytesPresent - report_.payloadBytesNeeded));
  }
}

void HuffmanCodec::DecodePayload() {
  const std::size_t before = output_.size();
  if (root != nullptr && report_.totalBits > 0) {
    const std::string_view payload =
        input_.substr(kHeaderBytes + static_cast<std::size_t>(report_.tableSize));
    // Bound: never past the file's end, so time and output follow the file's
    // size whatever totalBits says.
    const std::uint64_t limit =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(report_.totalBits), payload.size() * 8);
    if (engine_ == Engine::fast) {
      TableDecoder(root).Decode(payload, limit, static_cast<std::size_t>(report_.countSum),
                                output_);
    } else {
      BitReader reader(payload);
      const HuffNode* node = root;
      for (std::uint64_t i = 0; i < limit; ++i) {
        node = reader.GetBit() != 0 ? node->right : node->left;
        if (node->IsLeaf()) {
          output_ += static_cast<char>(node->symbol);
          node = root;
        }
      }
    }
  }
  report_.bytesDecoded = output_.size() - before;
}
