// Load and save of generated books at 10k, 100k and 1M records, the codec in
// memory against zlib's Huffman-only coder on the same text, and the peak
// memory of a load.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "store/codec/codec_buffer.h"
#include "store/record_store.h"
#include "store/record_text.h"
#include "tools/book_generator.h"

namespace {

// A generated book written once per size into a scratch folder.
struct Book {
  std::string path;
  std::string text;
  std::size_t records = 0;
  std::size_t fileBytes = 0;
};

std::string ScratchFolder() {
  static const std::string folder = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/kestrel-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return folder;
}

const Book& BookOf(std::size_t records) {
  static std::map<std::size_t, std::unique_ptr<Book>> books;
  auto& book = books[records];
  if (!book) {
    book = std::make_unique<Book>();
    book->records = records;
    book->path = ScratchFolder() + "/phone-" + std::to_string(records) + ".dat";
    book->text = BookText(GenerateBook(records));
    std::string file;
    EncodeBuffer(book->text, file);
    book->fileBytes = file.size();
    std::ofstream(book->path, std::ios::binary) << file;
  }
  return *book;
}

void Describe(benchmark::State& state, const Book& book, std::size_t bytesPerIteration) {
  state.counters["records"] = static_cast<double>(book.records);
  state.counters["text_bytes"] = static_cast<double>(book.text.size());
  state.counters["file_bytes"] = static_cast<double>(book.fileBytes);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerIteration));
}

// Read, decode and parse into records: what the program does at start-up.
void BM_Load(benchmark::State& state) {
  const Book& book = BookOf(static_cast<std::size_t>(state.range(0)));
  std::unique_ptr<RecordStore> store;
  for (auto _ : state) {
    state.PauseTiming();
    store.reset();  // a fresh store each time: its memory is touched for the first time
    state.ResumeTiming();
    store = std::make_unique<RecordStore>(book.path.c_str());
    store->Load();
    benchmark::DoNotOptimize(store->records.data());
  }
  if (store->records.size() != book.records) state.SkipWithError("wrong record count");
  Describe(state, book, book.text.size());
}

// Text, encode and safe replace, without the sync to disk.
void BM_Save(benchmark::State& state, bool sync) {
  const Book& book = BookOf(static_cast<std::size_t>(state.range(0)));
  RecordStore store((ScratchFolder() + "/saved.dat").c_str());
  ParseBookText(book.text, store.records);
  store.SetSyncOnSave(sync);
  for (auto _ : state) {
    const SaveResult result = store.Save();
    if (!result.ok()) state.SkipWithError(result.reason.c_str());
  }
  Describe(state, book, book.text.size());
}
void BM_SaveNoSync(benchmark::State& state) { BM_Save(state, false); }
void BM_SaveWithSync(benchmark::State& state) { BM_Save(state, true); }

// Text to records alone, the part of a load after decoding.
void BM_ParseBookText(benchmark::State& state) {
  const Book& book = BookOf(static_cast<std::size_t>(state.range(0)));
  std::unique_ptr<RecordList> records;
  for (auto _ : state) {
    state.PauseTiming();
    records = std::make_unique<RecordList>();
    state.ResumeTiming();
    ParseBookText(book.text, *records);
  }
  Describe(state, book, book.text.size());
}

void BM_EncodeInMemory(benchmark::State& state) {
  const Book& book = BookOf(static_cast<std::size_t>(state.range(0)));
  std::string file;
  for (auto _ : state) EncodeBuffer(book.text, file);
  Describe(state, book, book.text.size());
}

void BM_DecodeInMemory(benchmark::State& state) {
  const Book& book = BookOf(static_cast<std::size_t>(state.range(0)));
  std::string file, text;
  EncodeBuffer(book.text, file);
  for (auto _ : state) {
    text.clear();
    DecodeBuffer(file, text);
  }
  if (text != book.text) state.SkipWithError("decoded text differs");
  Describe(state, book, book.text.size());
}

// zlib with the Huffman-only strategy, raw deflate (no adler32), as the peer.
std::string ZlibHuffmanOnly(const std::string& text) {
  z_stream stream{};
  deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_HUFFMAN_ONLY);
  std::string out(deflateBound(&stream, text.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

void BM_ZlibHuffmanEncode(benchmark::State& state) {
  const Book& book = BookOf(static_cast<std::size_t>(state.range(0)));
  std::size_t size = 0;
  for (auto _ : state) size = ZlibHuffmanOnly(book.text).size();
  state.counters["zlib_bytes"] = static_cast<double>(size);
  Describe(state, book, book.text.size());
}

void BM_ZlibHuffmanDecode(benchmark::State& state) {
  const Book& book = BookOf(static_cast<std::size_t>(state.range(0)));
  const std::string packed = ZlibHuffmanOnly(book.text);
  std::string text(book.text.size(), '\0');
  for (auto _ : state) {
    z_stream stream{};
    inflateInit2(&stream, -15);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(text.data());
    stream.avail_out = static_cast<uInt>(text.size());
    inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
  }
  if (text != book.text) state.SkipWithError("zlib decoded text differs");
  Describe(state, book, book.text.size());
}

// Kilobytes of the process from /proc/self/status ("VmRSS", "VmHWM").
long StatusKilobytes(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key) + 1);
  }
  return -1;
}

// The most memory a load holds at once, against its budget: the records
// plus twice the text.
void BM_LoadPeakMemory(benchmark::State& state) {
  const Book& book = BookOf(static_cast<std::size_t>(state.range(0)));
  double peakBytes = 0;
  for (auto _ : state) {
    const long before = StatusKilobytes("VmRSS:");
    std::ofstream("/proc/self/clear_refs") << "5";  // restart the high-water mark
    {
      RecordStore store(book.path.c_str());
      store.Load();
      benchmark::DoNotOptimize(store.records.data());
    }
    peakBytes = static_cast<double>(StatusKilobytes("VmHWM:") - before) * 1024;
  }
  const double budget =
      static_cast<double>(book.records * sizeof(StudentRecord) + 2 * book.text.size());
  state.counters["peak_MB"] = peakBytes / 1e6;
  state.counters["budget_MB"] = budget / 1e6;
  Describe(state, book, book.text.size());
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
  b->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
}

}  // namespace

BENCHMARK(BM_Load)->Apply(Sizes);
BENCHMARK(BM_ParseBookText)->Apply(Sizes);
BENCHMARK(BM_SaveNoSync)->Apply(Sizes);
BENCHMARK(BM_SaveWithSync)->Apply(Sizes);
BENCHMARK(BM_EncodeInMemory)->Apply(Sizes);
BENCHMARK(BM_DecodeInMemory)->Apply(Sizes);
BENCHMARK(BM_ZlibHuffmanEncode)->Apply(Sizes);
BENCHMARK(BM_ZlibHuffmanDecode)->Apply(Sizes);
BENCHMARK(BM_LoadPeakMemory)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
