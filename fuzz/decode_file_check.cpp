// What must hold when any bytes at all are read as a data file. The header
// and table are read again here, independently of the codec, so that the
// check does not merely repeat the code it checks.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_checks.h"
#include "store/codec/codec_buffer.h"
#include "store/codec/huffman_codec.h"

namespace {

// Text already in the caller's buffer, which decoding must leave alone.
constexpr std::string_view kEarlierOutput = "earlier output\n";
constexpr std::size_t kLoadedTextBytes = 1024;

std::int32_t Int32At(std::string_view bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
  return static_cast<std::int32_t>(value);
}

// The file as this check reads it.
struct Layout {
  bool headerComplete = false;
  std::uint8_t checksum = 0;
  std::int32_t totalBits = 0;
  std::int16_t tableSize = 0;
  bool checksumOk = false;
  bool tableSizeOk = false;
  bool tableWhole = false;
  bool entriesInOrder = true;  // strictly ascending values, counts above 0
  std::array<std::int32_t, 256> freq{};
  std::uint64_t payloadBytes = 0;
};

Layout ReadLayout(std::string_view file) {
  Layout layout;
  if (file.size() < 7) return layout;
  layout.headerComplete = true;
  layout.checksum = static_cast<std::uint8_t>(file[0]);
  layout.totalBits = Int32At(file, 1);
  layout.tableSize = static_cast<std::int16_t>(static_cast<unsigned char>(file[5]) |
                                               static_cast<unsigned char>(file[6]) << 8);
  // The sum wraps to 32 bits; its remainder truncates toward zero.
  const std::int64_t wide = std::int64_t{layout.tableSize} + layout.totalBits;
  const auto sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
  layout.checksumOk = sum % 256 == layout.checksum;
  layout.tableSizeOk =
      layout.tableSize >= 0 && layout.tableSize <= 1280 && layout.tableSize % 5 == 0;
  if (!layout.checksumOk || !layout.tableSizeOk) return layout;
  const std::size_t tableEnd = 7 + static_cast<std::size_t>(layout.tableSize);
  layout.tableWhole = file.size() >= tableEnd;
  if (!layout.tableWhole) return layout;
  int previous = -1;
  for (std::size_t offset = 7; offset < tableEnd; offset += 5) {
    const int value = static_cast<unsigned char>(file[offset]);
    const std::int32_t count = Int32At(file, offset + 1);
    if (value <= previous || count <= 0) layout.entriesInOrder = false;
    previous = value;
    layout.freq[value] = count;
  }
  layout.payloadBytes = file.size() - tableEnd;
  return layout;
}

struct TreeFacts {
  int shortestCode = 0;
  std::int64_t codeBits = 0;  // sum of weight × depth over the leaves
};

void Walk(const HuffNode* node, int depth, TreeFacts& facts) {
  if (node->IsLeaf()) {
    if (facts.shortestCode == 0 || depth < facts.shortestCode) facts.shortestCode = depth;
    facts.codeBits += std::int64_t{node->weight} * depth;
    return;
  }
  Walk(node->left, depth + 1, facts);
  Walk(node->right, depth + 1, facts);
}

// The shortest code and the bits the counts need, of the tree `freq` builds.
// The tree's shape is the codec's own business; only its depths matter here.
TreeFacts FactsOf(const std::array<std::int32_t, 256>& freq) {
  std::string unused;
  HuffmanCodec builder({}, unused);
  builder.freq = freq;
  builder.root = builder.BuildTree();
  TreeFacts facts;
  if (builder.root != nullptr) Walk(builder.root, 0, facts);
  return facts;
}

std::string Num(std::int64_t value) { return std::to_string(value); }

// The file encodes its own decoded text again, up to the padding bits of the
// last byte, which the decoder never reads.
bool SameButPadding(std::string_view file, std::string_view again, std::int32_t totalBits) {
  if (file.size() != again.size()) return false;
  if (file.empty()) return true;
  const int padding = (8 - totalBits % 8) % 8;
  const unsigned mask = 0xFFu & ~((1u << padding) - 1);
  const std::size_t last = file.size() - 1;
  return file.substr(0, last) == again.substr(0, last) &&
         (static_cast<unsigned char>(file[last]) & mask) ==
             (static_cast<unsigned char>(again[last]) & mask);
}

std::string CheckSoundFileEncodesBack(std::string_view file, std::string_view text,
                                      const Layout& layout) {
  // A table holding only the space gives a tree with two codes for it (the
  // leaf's 0 and the placeholder's 1), so its text has more than one file.
  int values = 0;
  for (std::int32_t count : layout.freq) values += count > 0 ? 1 : 0;
  if (values == 1 && layout.freq[' '] > 0) return "";
  std::array<std::int64_t, 256> seen{};
  for (char c : text) ++seen[static_cast<unsigned char>(c)];
  for (int v = 0; v < 256; ++v) {
    if (seen[v] != std::max(layout.freq[v], 0)) return "";  // other text, same bit count
  }
  std::string again;
  if (EncodeBuffer(text, again) != HuffmanCodec::EncodeStatus::written) {
    return "decoded text of a sound file refused by the encoder";
  }
  if (!SameButPadding(file, again, layout.totalBits)) {
    return "sound file whose text matches its table does not encode back to itself";
  }
  return "";
}

std::string CheckDecoded(std::string_view file, const DecodeReport& report, std::string_view text) {
  const Layout layout = ReadLayout(file);
  if (report.fileBytes != file.size()) return "fileBytes differs from the file's size";
  if (report.headerComplete != layout.headerComplete) return "headerComplete wrong";
  if (!layout.headerComplete) {
    if (!report.damaged) return "file shorter than its header not marked damaged";
    return text.empty() ? "" : "file shorter than its header gave text";
  }
  if (report.checksum != layout.checksum || report.totalBits != layout.totalBits ||
      report.tableSize != layout.tableSize) {
    return "header fields differ from the file's bytes";
  }
  if (report.checksumOk != layout.checksumOk) return "checksum judged wrongly";
  if (!layout.checksumOk || !layout.tableSizeOk || !layout.tableWhole) {
    if (!report.damaged) return "file without a trustworthy header or table not marked damaged";
    return text.empty() ? "" : "file without a trustworthy header or table gave text";
  }

  const TreeFacts tree = FactsOf(layout.freq);
  const std::uint64_t payloadBits = layout.payloadBytes * 8;
  const std::uint64_t bitsAllowed = std::min<std::uint64_t>(
      static_cast<std::uint64_t>(std::max(layout.totalBits, 0)), payloadBits);
  if (tree.shortestCode == 0) {
    if (!text.empty()) return "a table without a positive count gave text";
  } else if (text.size() * static_cast<std::uint64_t>(tree.shortestCode) > bitsAllowed) {
    return "decoded " + Num(static_cast<std::int64_t>(text.size())) + " bytes of codes at least " +
           Num(tree.shortestCode) + " bits long from " +
           Num(static_cast<std::int64_t>(bitsAllowed)) + " bits";
  }
  if (report.payloadBytesPresent != layout.payloadBytes) return "payloadBytesPresent wrong";
  if (report.bitsForCounts != tree.codeBits) return "bitsForCounts wrong";

  const std::uint64_t bytesNeeded =
      (static_cast<std::uint64_t>(std::max(layout.totalBits, 0)) + 7) / 8;
  const bool sound = layout.entriesInOrder && layout.totalBits >= 0 &&
                     layout.totalBits == tree.codeBits && layout.payloadBytes == bytesNeeded;
  if (report.damaged == sound) {
    return sound ? "sound file marked damaged: " + report.problem : "damaged file marked sound";
  }
  if (report.damaged == report.problem.empty()) return "damaged without a problem, or the reverse";
  return sound ? CheckSoundFileEncodesBack(file, text, layout) : "";
}

bool SameReport(const DecodeReport& a, const DecodeReport& b) {
  return a.fileBytes == b.fileBytes && a.headerComplete == b.headerComplete &&
         a.checksum == b.checksum && a.totalBits == b.totalBits && a.tableSize == b.tableSize &&
         a.checksumOk == b.checksumOk && a.tableEntries == b.tableEntries &&
         a.countSum == b.countSum && a.bitsForCounts == b.bitsForCounts &&
         a.payloadBytesNeeded == b.payloadBytesNeeded &&
         a.payloadBytesPresent == b.payloadBytesPresent && a.bytesDecoded == b.bytesDecoded &&
         a.damaged == b.damaged && a.problem == b.problem;
}

}  // namespace

std::string CheckDecodeFile(std::string_view input) {
  // An empty input also comes as a view without data; every path must take it.
  if (input.empty()) input = {};
  std::string out(kEarlierOutput);
  const DecodeReport report = DecodeBuffer(input, out);
  if (out.compare(0, kEarlierOutput.size(), kEarlierOutput) != 0) {
    return "decoding changed what the output held before";
  }
  const std::string_view text = std::string_view(out).substr(kEarlierOutput.size());
  if (report.bytesDecoded != text.size()) return "bytesDecoded differs from the bytes appended";
  if (std::string failure = CheckDecoded(input, report, text); !failure.empty()) return failure;

  std::string slow(kEarlierOutput);
  HuffmanCodec reference(input, slow, HuffmanCodec::Engine::reference);
  reference.Decode();
  if (slow != out) return "the table decoder and the tree walk decode different bytes";
  if (!SameReport(reference.report(), report)) return "the two decoders report differently";

  // What loading does next with the text. Every prefix of a text is a text;
  // a short one keeps each run fast (a few KB of line feeds are thousands of
  // 1,708-byte records), and fuzz_load_text covers long texts.
  if (std::string failure = CheckLoadText(text.substr(0, kLoadedTextBytes)); !failure.empty()) {
    return "load: " + failure;
  }
  return "";
}
