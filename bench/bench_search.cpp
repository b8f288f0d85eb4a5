// How long the user waits for a search and for the match list: one criterion,
// a criterion that matches nothing, and all criteria empty (the whole book
// copied, sorted and labelled), on generated books of 10k, 100k and 1M records.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "search/find_matches.h"
#include "search/match_order.h"

namespace {

// A book of plausible students, the same for every run of the benchmark.
RecordList MakeBook(int count) {
  static const char* const kLast[] = {
      "Smith",  "Johnson", "Williams", "Brown",   "Jones",    "Garcia",  "Miller", "Davis",
      "Rodriguez", "Martinez", "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas",
      "Taylor", "Moore",   "Jackson",  "Martin",  "Lee",      "Perez",   "Thompson", "White",
      "Harris", "Sanchez", "Clark",    "Ramirez", "Lewis",    "Robinson", "Walker", "Young",
      "Allen",  "King",    "Wright",   "Scott",   "Torres",   "Nguyen",  "Hill",   "Flores",
      "Green",  "Adams",   "Nelson",   "Baker",   "Hall",     "Rivera",  "Campbell", "Mitchell",
      "Carter", "Roberts", "Goldsmith", "M\xFCller", "\xC9mond", "\x8A" "imek", "O'Brien",
      "Van Dyke", "Smith-Jones", "de la Cruz", "Nakamura", "Kowalski"};
  static const char* const kFirst[] = {
      "Anna",  "Ben",   "Chloe", "David", "Emma",  "Felix", "Grace", "Henry", "Isla",  "Jack",
      "Kira",  "Liam",  "Mia",   "Noah",  "Olive", "Paul",  "Quinn", "Ruby",  "Sam",   "Tara",
      "Uma",   "Victor", "Wendy", "Xavier", "Yara", "Zoe",  "\xC9lodie", "Ren\xE9", "Bj\xF6rn",
      "Zo\xEB"};
  static const char* const kStreet[] = {"Elm St", "Oak Ave", "Maple Rd", "Pine Ln", "Cedar Ct",
                                        "Birch Way", "Main St", "High St", "Park Rd", "Lake Dr"};
  static const char* const kCity[] = {"Springfield", "Riverton", "Lakeside", "Fairview",
                                      "Greenville", "Madison", "Georgetown", "Salem"};
  std::mt19937 random(20240607);
  auto pick = [&random](const auto& list) { return list[random() % std::size(list)]; };
  RecordList book(count);
  for (int i = 0; i < count; ++i) {
    StudentRecord& r = book[i];
    const char* last = pick(kLast);
    const char* first = pick(kFirst);
    auto put = [&r](int field, const std::string& text) {
      std::snprintf(r.fields[field], StudentRecord::kFieldSize, "%s", text.c_str());
    };
    auto digits = [&random](int n) {
      std::string s;
      for (int k = 0; k < n; ++k) s += static_cast<char>('0' + random() % 10);
      return s;
    };
    put(studentNo, "S" + digits(7));
    put(lastName, last);
    put(firstName, first);
    put(middleName1, random() % 2 ? pick(kFirst) : "");
    put(middleName2, random() % 8 == 0 ? pick(kFirst) : "");
    put(gender, random() % 2 ? "F" : "M");
    put(birthday, "20" + digits(2) + "-0" + std::to_string(1 + random() % 9) + "-1" + digits(1));
    put(phone, "555-" + digits(4));
    put(email, std::string(first) + "." + last + "@school.example");
    put(cellPhone, random() % 3 ? "555-" + digits(4) : "");
    put(parentName, std::string(pick(kFirst)) + " " + last);
    put(parentPhone, "555-" + digits(4));
    put(address1, digits(3) + " " + pick(kStreet));
    put(address2, random() % 4 == 0 ? "Apt " + digits(2) : "");
    put(address3, pick(kCity));
    put(address4, "IL");
    put(address5, "6" + digits(4));
  }
  return book;
}

RecordList& Book(int count) {
  static std::map<int, RecordList> books;
  auto it = books.find(count);
  if (it == books.end()) it = books.emplace(count, MakeBook(count)).first;
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

void BM_SearchAddress(benchmark::State& state) {
  SearchCriteria criteria;
  criteria.text[address1] = "elm st  spring";
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
BENCHMARK(BM_SearchAddress)->Apply(Sizes);
BENCHMARK(BM_AllEmptyCopySortLabels)->Apply(Sizes);
BENCHMARK(BM_AllEmptyCopySortLabelsFirstSearch)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
