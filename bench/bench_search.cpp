// How long the user waits for a search and for the match list: one criterion,
// a criterion that matches nothing, and all criteria empty (the whole book
// copied, sorted and labelled), on generated books of 10k, 100k and 1M records.
#include <benchmark/benchmark.h>

#include <map>

#include "search/find_matches.h"
#include "search/match_order.h"
#include "tools/book_generator.h"

namespace {

RecordList& Book(int count) {
  static std::map<int, RecordList> books;
  auto it = books.find(count);
  if (it == books.end()) it = books.emplace(count, GenerateBook(count)).first;
  return it->second;
}

void Report(benchmark::State& state, const RecordList& book, std::size_t matches) {
  state.counters["records"] = static_cast<double>(book.size());
  state.counters["matches"] = static_cast<double>(matches);
  state.counters["book_MB"] = static_cast<double>(book.size() * sizeof(StudentRecord)) / 1e6;
}

// The application empties its matches before every search but keeps their
// storage, so every search after the first reuses memory already touched.
// One untimed search of the whole book stands for that first search.
RecordList WarmMatches(RecordList& book) {
  RecordList matches;
  FindMatches(book, SearchCriteria{}, matches);
  return matches;
}

void Search(benchmark::State& state, const SearchCriteria& criteria) {
  RecordList& book = Book(static_cast<int>(state.range(0)));
  RecordList matches = WarmMatches(book);
  for (auto _ : state) {
    matches.clear();
    FindMatches(book, criteria, matches);
    benchmark::DoNotOptimize(matches.data());
  }
  Report(state, book, matches.size());
}

void BM_SearchLastNameSmi(benchmark::State& state) {
  SearchCriteria criteria;
  criteria.text[lastName] = "smi";
  Search(state, criteria);
}

void BM_SearchMatchingNothing(benchmark::State& state) {
  SearchCriteria criteria;
  criteria.text[lastName] = "qqq";
  Search(state, criteria);
}

// A blank in the address criterion may span two parts, so the address text
// must be assembled; without one each part is searched where it lies.
void BM_SearchAddressWithBlank(benchmark::State& state) {
  SearchCriteria criteria;
  criteria.text[address1] = "elm st";
  Search(state, criteria);
}

void BM_SearchAddressWord(benchmark::State& state) {
  SearchCriteria criteria;
  criteria.text[address1] = "chestnut";
  Search(state, criteria);
}

// All criteria empty: the whole book is copied, sorted and its labels made
// ready for the list, with the match storage kept from the previous search.
void BM_AllEmptyCopySortLabels(benchmark::State& state) {
  RecordList& book = Book(static_cast<int>(state.range(0)));
  RecordList matches = WarmMatches(book);
  std::size_t labelCount = 0;
  for (auto _ : state) {
    matches.clear();
    FindMatches(book, SearchCriteria{}, matches);
    labelCount = SortMatches(matches).size();
  }
  Report(state, book, labelCount);
}

// The same on the first search of a run, when the copies land in pages never
// touched before; on this machine the first touch of 171 MB costs far more
// than the copying itself.
void BM_AllEmptyCopySortLabelsFirstSearch(benchmark::State& state) {
  RecordList& book = Book(static_cast<int>(state.range(0)));
  std::size_t labelCount = 0;
  for (auto _ : state) {
    RecordList matches;
    FindMatches(book, SearchCriteria{}, matches);
    labelCount = SortMatches(matches).size();
    state.PauseTiming();
    matches = RecordList();  // the unmapping is not part of the wait
    state.ResumeTiming();
  }
  Report(state, book, labelCount);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
  b->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_SearchLastNameSmi)->Apply(Sizes);
BENCHMARK(BM_SearchMatchingNothing)->Apply(Sizes);
BENCHMARK(BM_SearchAddressWithBlank)->Apply(Sizes);
BENCHMARK(BM_SearchAddressWord)->Apply(Sizes);
BENCHMARK(BM_AllEmptyCopySortLabels)->Apply(Sizes);
BENCHMARK(BM_AllEmptyCopySortLabelsFirstSearch)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
