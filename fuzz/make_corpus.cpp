// Writes the seed corpus of the fuzz targets of the book's file and the
// journal into <folder>/<target>/: the codec's known byte vectors, small
// generated books, journals, and damaged files of every kind the loaders
// must survive. Run: kestrel_fuzz_corpus fuzz/corpus
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "store/codec/codec_buffer.h"
#include "store/journal.h"
#include "store/record_text.h"
#include "tools/book_generator.h"

namespace {

namespace fs = std::filesystem;

// A generated book of this many records is a few KB of text.
constexpr std::size_t kBookRecords = 16;

const std::string kRecordLine = "A\tB" + std::string(16, '\t') + "\n";

std::string Encoded(std::string_view text) {
  std::string file;
  EncodeBuffer(text, file);
  return file;
}

void PutInt32(std::string& file, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) file[offset + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

// `file` with other header fields and the checksum the writer would give them.
std::string WithHeader(std::string file, std::int32_t totalBits, std::int16_t tableSize) {
  PutInt32(file, 1, static_cast<std::uint32_t>(totalBits));
  file[5] = static_cast<char>(static_cast<std::uint16_t>(tableSize) & 0xFF);
  file[6] = static_cast<char>(static_cast<std::uint16_t>(tableSize) >> 8);
  const std::uint32_t sum =
      static_cast<std::uint32_t>(std::int32_t{tableSize}) + static_cast<std::uint32_t>(totalBits);
  file[0] = static_cast<char>(sum & 0xFF);
  return file;
}

// A file with one entry per value from 0 up, all with count `count`, the
// header as given and `payload` after the table.
std::string TableFile(int entries, std::uint32_t count, std::int32_t totalBits,
                      std::string_view payload) {
  std::string file(7, '\0');
  for (int v = 0; v < entries; ++v) {
    file += static_cast<char>(v);
    file.append(4, '\0');
    PutInt32(file, file.size() - 4, count);
  }
  file += payload;
  return WithHeader(file, totalBits, static_cast<std::int16_t>(entries * 5));
}

std::string Byte0Flipped(std::string file) {
  file[0] = static_cast<char>(file[0] ^ 1);
  return file;
}

std::string WithCount(std::string file, int entry, std::uint32_t count) {
  PutInt32(file, 7 + 5 * static_cast<std::size_t>(entry) + 1, count);
  return file;
}

// Counts 1, 1, 2, 4, ... doubling: every code one bit longer than the last.
std::string DeepTreeFile(int values, std::string_view payload) {
  std::string file(7, '\0');
  for (int v = 0; v < values; ++v) {
    file += static_cast<char>(v);
    file.append(4, '\0');
    PutInt32(file, file.size() - 4, v == 0 ? 1u : 1u << (v - 1));
  }
  file += payload;
  return WithHeader(file, static_cast<std::int32_t>(payload.size() * 8),
                    static_cast<std::int16_t>(values * 5));
}

// A pseudo-random payload, the same on every machine.
std::string Noise(std::size_t size) {
  std::string bytes;
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes += static_cast<char>(state >> 24);
  }
  return bytes;
}

// The run description for the round trip: values 'a', 'b', ... repeated
// 1, 2, 4, ... 2^16 times, which gives codes of up to 17 bits.
std::string DoublingRuns() {
  std::string description(1, '\xFF');
  for (int k = 0; k < 17; ++k) {
    description += static_cast<char>('a' + k);
    description += static_cast<char>(k);
  }
  return description;
}

std::string AllBytes() {
  std::string bytes;
  for (int v = 0; v < 256; ++v) bytes += static_cast<char>(v);
  return bytes;
}

class CorpusWriter {
 public:
  explicit CorpusWriter(fs::path root) : root_(std::move(root)) {}

  bool Put(const char* target, const char* name, std::string_view bytes) {
    const fs::path folder = root_ / target;
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "kestrel_fuzz_corpus: cannot write %s\n", (folder / name).c_str());
      ok_ = false;
    }
    return ok_;
  }
  bool ok() const { return ok_; }

 private:
  fs::path root_;
  bool ok_ = true;
};

void WriteRoundTrip(CorpusWriter& corpus, std::string_view book) {
  const char* t = "fuzz_round_trip";
  corpus.Put(t, "empty", "");
  corpus.Put(t, "a", "a");
  corpus.Put(t, "abc", "abc");
  corpus.Put(t, "abracadabra", "abracadabra");
  corpus.Put(t, "record-line", kRecordLine);
  corpus.Put(t, "aaaa", "aaaa");
  corpus.Put(t, "four-spaces", "    ");
  corpus.Put(t, "all-256-values", AllBytes());
  corpus.Put(t, "book", book);
  corpus.Put(t, "runs-doubling", DoublingRuns());
}

void WriteLoadText(CorpusWriter& corpus, std::string_view book) {
  const char* t = "fuzz_load_text";
  const std::string field99(99, 'x');
  const std::string field100(100, 'y');
  corpus.Put(t, "empty", "");
  corpus.Put(t, "a-tab-b", "A\tB");
  corpus.Put(t, "record-line", kRecordLine);
  corpus.Put(t, "empty-lines", "\n\n\n");
  corpus.Put(t, "field-99", field99 + "\tnext\n");
  corpus.Put(t, "field-100", field100 + "\tlost\tlost\n" + "after\n");
  corpus.Put(t, "fewer-tabs", "1\t2\t3\n");
  corpus.Put(t, "more-tabs", std::string(20, '\t') + "tail\n");
  corpus.Put(t, "long-line", std::string(3000, 'z') + "\nnext\tline\n");
  corpus.Put(t, "line-2047-no-feed", std::string(2047, 'w'));
  corpus.Put(t, "nul-and-cr", std::string("A\0B\tC\r\n\0\t\n", 10));
  corpus.Put(t, "no-final-feed", "one\ttwo\nthree\tfour");
  corpus.Put(t, "book", book);
}

void WriteDecodeFile(CorpusWriter& corpus, std::string_view book) {
  const char* t = "fuzz_decode_file";
  const std::string abracadabra = Encoded("abracadabra");
  const std::string bookFile = Encoded(book);
  // Sound files.
  corpus.Put(t, "empty-book", Encoded(""));
  corpus.Put(t, "a", Encoded("a"));
  corpus.Put(t, "abc", Encoded("abc"));
  corpus.Put(t, "abracadabra", abracadabra);
  corpus.Put(t, "record-line", Encoded(kRecordLine));
  corpus.Put(t, "four-spaces", Encoded("    "));
  corpus.Put(t, "all-256-values", Encoded(AllBytes()));
  corpus.Put(t, "book", bookFile);
  // Damaged header.
  corpus.Put(t, "empty-file", "");
  corpus.Put(t, "short-header", abracadabra.substr(0, 3));
  corpus.Put(t, "bad-checksum", Byte0Flipped(abracadabra));
  corpus.Put(t, "table-size-negative", WithHeader(abracadabra, 5, -5));
  corpus.Put(t, "table-size-not-multiple-of-5", WithHeader(abracadabra, 23, 24));
  corpus.Put(t, "table-size-above-1280", WithHeader(abracadabra, 23, 1285));
  // tableSize + totalBits wraps past 2^31 to a multiple of 256: passes.
  corpus.Put(t, "checksum-passes-by-wrapping", TableFile(205, 1, 0x7FFFFFFF, Noise(16)));
  corpus.Put(t, "total-bits-negative", WithHeader(abracadabra, -25 - 256, 25));
  corpus.Put(t, "total-bits-huge", WithHeader(abracadabra, 0x7FFFFF00, 25));
  // Damaged table.
  corpus.Put(t, "table-cut-short", abracadabra.substr(0, 20));
  corpus.Put(t, "negative-count", WithCount(abracadabra, 1, static_cast<std::uint32_t>(-2)));
  corpus.Put(t, "huge-count", WithCount(abracadabra, 0, 0x7FFFFFFF));
  corpus.Put(t, "zero-count", WithCount(abracadabra, 2, 0));
  corpus.Put(t, "huge-counts-wrapping-sums", TableFile(6, 0x7FFFFFFF, 4000, Noise(500)));
  corpus.Put(t, "deep-tree", DeepTreeFile(31, Noise(300)));
  corpus.Put(t, "deep-tree-long-codes-of-ones", DeepTreeFile(31, std::string(40, '\xFF')));
  std::string outOfOrder = abracadabra;
  outOfOrder[7] = 'r';  // the first entry now repeats the last value
  corpus.Put(t, "entries-out-of-order", outOfOrder);
  // Damaged payload.
  corpus.Put(t, "payload-cut-short", bookFile.substr(0, bookFile.size() - 100));
  corpus.Put(t, "payload-missing", abracadabra.substr(0, 32));
  corpus.Put(t, "bytes-after-payload", abracadabra + "xy");
  corpus.Put(t, "one-value-huge-bit-count", TableFile(1, 1, 0x7FFFFF00 - 5, "\x55"));
  corpus.Put(t, "seventeen-values-1000-bits", TableFile(17, 3, 1000, Noise(125)));
}

// CRC-32 as zip and the journal have it, for entries made by hand.
std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char b : bytes) {
    c ^= static_cast<std::uint8_t>(b);
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xFFFFFFFFu;
}

// A record with `last` as its last name and `first` as its first.
StudentRecord Named(const char* last, const char* first = "") {
  StudentRecord record;
  std::snprintf(record.fields[0], sizeof record.fields[0], "%s", last);
  std::snprintf(record.fields[1], sizeof record.fields[1], "%s", first);
  return record;
}

void WriteJournal(CorpusWriter& corpus) {
  const char* t = "fuzz_journal";
  platform::FileStamp stamp;
  stamp.exists = true;
  stamp.volume = 2049;
  stamp.file = 131074;
  stamp.size = 4096;
  stamp.mtimeSeconds = 1765000000;
  const std::string header = journal::EncodeHeader(stamp);
  const std::string set = journal::EncodeEntry(0, Named("Ames", "Ann"));
  const std::string append = journal::EncodeEntry(3, Named("New"));
  const std::string deleted = journal::EncodeEntry(1, StudentRecord{});
  StudentRecord full;
  for (auto& field : full.fields) std::memset(field, 'f', StudentRecord::kFieldSize - 1);
  const std::string widest = journal::EncodeEntry(2, full);
  corpus.Put(t, "empty", "");
  corpus.Put(t, "header-only", header);
  corpus.Put(t, "header-cut-short", header.substr(0, 30));
  std::string damagedHeader = header;
  damagedHeader[20] = static_cast<char>(damagedHeader[20] ^ 1);
  corpus.Put(t, "header-damaged", damagedHeader + set);
  corpus.Put(t, "no-book-header", journal::EncodeHeader(platform::FileStamp{}) + append);
  corpus.Put(t, "set-append-delete", header + set + append + deleted);
  corpus.Put(t, "widest-entry", header + widest);
  corpus.Put(t, "torn-tail", header + set + append.substr(0, 20));
  std::string badCrc = append;
  badCrc.back() = static_cast<char>(badCrc.back() ^ 1);
  corpus.Put(t, "bad-crc-then-entry", header + set + badCrc + deleted);
  // A whole entry whose first field claims 100 bytes, one more than a field
  // holds, in a body that has room for them and sixteen empty fields.
  std::string field100(2, '\0');
  field100.append(4, '\0');  // position 0
  field100 += static_cast<char>(100);
  field100.append(100, 'y');
  field100.append(16, '\0');
  field100[0] = static_cast<char>(field100.size() - 2);
  const std::uint32_t crc = Crc32(field100);
  for (int i = 0; i < 4; ++i) field100 += static_cast<char>(crc >> (8 * i) & 0xFF);
  corpus.Put(t, "field-length-100", header + field100);
  corpus.Put(t, "position-beyond-the-book", header + journal::EncodeEntry(9, Named("Far")) + set);
  std::string appends = header;
  for (std::uint32_t k = 3; k < 40; ++k) appends += journal::EncodeEntry(k, StudentRecord{});
  corpus.Put(t, "many-appends", appends);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kestrel_fuzz_corpus FOLDER\n");
    return 2;
  }
  const std::string book = BookText(GenerateBook(kBookRecords));
  CorpusWriter corpus(argv[1]);
  WriteRoundTrip(corpus, book);
  WriteLoadText(corpus, book);
  WriteDecodeFile(corpus, book);
  WriteJournal(corpus);
  return corpus.ok() ? 0 : 1;
}
