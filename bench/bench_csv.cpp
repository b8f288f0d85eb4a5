// How long kestrel-book's export and import spend turning records into CSV
// and back, on generated books of 10k and 100k records (the file's
// compression and the safe replace are measured by bench_store).
#include <benchmark/benchmark.h>

#include <string>

#include "tools/book_csv.h"
#include "tools/book_generator.h"

namespace {

void Report(benchmark::State& state, std::size_t records, std::size_t csvBytes) {
  state.counters["records"] = static_cast<double>(records);
  state.counters["csv_MB"] = static_cast<double>(csvBytes) / 1e6;
  state.counters["csv_MB/s"] = benchmark::Counter(static_cast<double>(csvBytes) / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ExportCsv(benchmark::State& state) {
  const RecordList book = GenerateBook(static_cast<std::size_t>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string csv = book_csv::ExportRecords(book, {});
    bytes = csv.size();
    benchmark::DoNotOptimize(csv.data());
  }
  Report(state, book.size(), bytes);
}

void BM_ImportCsv(benchmark::State& state) {
  const std::string csv =
      book_csv::ExportRecords(GenerateBook(static_cast<std::size_t>(state.range(0))), {});
  std::size_t records = 0;
  for (auto _ : state) {
    RecordList book;
    const book_csv::ImportResult result = book_csv::ImportRecords(csv, book);
    if (!result.ok) state.SkipWithError(result.error.c_str());
    records = book.size();
  }
  Report(state, records, csv.size());
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
  b->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ExportCsv)->Apply(Sizes);
BENCHMARK(BM_ImportCsv)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
