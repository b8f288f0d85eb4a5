// Printing a book: laying out the records and writing the PDF file, for a
// class of 5,000 and a whole book of 100,000, each layout. Besides the time,
// the peak of the memory the pages and the file take, against the book's own.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <vector>

#include "report/layouts.h"
#include "report/pdf_writer.h"
#include "search/match_order.h"
#include "tools/book_generator.h"

// Every allocation of the process is counted, so the peak of what one print
// holds at once can be read.
namespace {
std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void* Counted(std::size_t bytes) {
  // The size sits in front of the block, so delete knows what it frees.
  auto* block = static_cast<std::size_t*>(std::malloc(bytes + sizeof(std::max_align_t)));
  if (block == nullptr) throw std::bad_alloc();
  *block = bytes;
  const std::size_t now = liveBytes += bytes;
  std::size_t peak = peakBytes.load();
  while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
  }
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}

void Uncounted(void* pointer) {
  if (pointer == nullptr) return;
  auto* block =
      reinterpret_cast<std::size_t*>(static_cast<char*>(pointer) - sizeof(std::max_align_t));
  liveBytes -= *block;
  std::free(block);
}
}  // namespace

void* operator new(std::size_t bytes) { return Counted(bytes); }
void* operator new[](std::size_t bytes) { return Counted(bytes); }
void operator delete(void* pointer) noexcept { Uncounted(pointer); }
void operator delete[](void* pointer) noexcept { Uncounted(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Uncounted(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Uncounted(pointer); }

namespace {

// A generated book in the match list's order, as print gets its records.
const RecordList& SortedBook(int count) {
  static std::map<int, RecordList> books;
  auto it = books.find(count);
  if (it == books.end()) {
    RecordList book = GenerateBook(count);
    SortMatches(book);
    it = books.emplace(count, std::move(book)).first;
  }
  return it->second;
}

void Print(benchmark::State& state, report::Layout layout) {
  const RecordList& book = SortedBook(static_cast<int>(state.range(0)));
  std::vector<const StudentRecord*> records;
  for (const StudentRecord& record : book) records.push_back(&record);
  report::ReportOptions options;
  options.layout = layout;
  options.bookName = "phone.dat";
  options.date = "2026-12-09";
  std::size_t fileBytes = 0, pages = 0, peak = 0;
  for (auto _ : state) {
    const std::size_t before = liveBytes;
    peakBytes = before;
    const report::Document document = report::LayOut(records, options);
    const std::string pdf = report::WritePdf(document);
    benchmark::DoNotOptimize(pdf.data());
    fileBytes = pdf.size();
    pages = document.pages.size();
    peak = peakBytes - before;
  }
  const double bookBytes = static_cast<double>(book.size() * sizeof(StudentRecord));
  state.counters["records"] = static_cast<double>(book.size());
  state.counters["pages"] = static_cast<double>(pages);
  state.counters["pdf_MB"] = static_cast<double>(fileBytes) / 1e6;
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["book_MB"] = bookBytes / 1e6;
  state.counters["peak_per_book"] = static_cast<double>(peak) / bookBytes;
}

void BM_PrintList(benchmark::State& state) { Print(state, report::Layout::list); }
void BM_PrintLabels(benchmark::State& state) { Print(state, report::Layout::labels); }
void BM_PrintCards(benchmark::State& state) { Print(state, report::Layout::cards); }

BENCHMARK(BM_PrintList)->Arg(5000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintLabels)->Arg(5000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintCards)->Arg(5000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
