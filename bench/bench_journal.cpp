// The session journal's costs: what "Save Changes" takes longer for its one
// append and sync, and what restoring 1,000 changes onto a book of 100,000
// records takes at start-up (read, check, replay, and the new journal written
// and synced).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "store/journal.h"
#include "store/journal_file.h"
#include "store/platform/platform.h"
#include "tools/book_generator.h"

namespace {

// On the disk of the folder the benchmark runs in, so the syncs are real
// ones, not a memory file system's.
std::string ScratchFolder() {
  // Never destroyed: the clean-up at exit runs after static destructors
  // that were still being constructed when it was registered.
  static const std::string& folder = *[] {
    auto* pattern = new std::string(std::filesystem::current_path().string() +
                                    "/kestrel-bench-journal-XXXXXX");
    if (mkdtemp(pattern->data()) == nullptr) std::abort();
    std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
    return pattern;
  }();
  return folder;
}

StudentRecord Edited(std::size_t k) {
  StudentRecord record;
  std::snprintf(record.fields[lastName], StudentRecord::kFieldSize, "Edited%zu", k);
  std::strcpy(record.fields[firstName], "Anna");
  std::strcpy(record.fields[phone], "555-0101");
  std::strcpy(record.fields[address1], "12 Long Street");
  return record;
}

// The extra work of one "Save Changes": the entry appended and synced.
void BM_SaveChangesJournalEntry(benchmark::State& state) {
  journal::FileSink file(ScratchFolder() + "/phone.dat.journal");
  journal::Session session(file);
  if (!session.Begin(platform::StampOf(ScratchFolder() + "/phone.dat"))) {
    state.SkipWithError(session.failure().c_str());
    return;
  }
  std::size_t k = 0;
  for (auto _ : state) {
    if (!session.Record(k % 100000, Edited(k))) state.SkipWithError(session.failure().c_str());
    ++k;
  }
}
BENCHMARK(BM_SaveChangesJournalEntry)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Start-up after a crash: 1,000 changes left in the journal of a 100,000-
// record book, restored and carried into the new session's journal. The
// argument is how many of the changes are new records (0 or 100).
void BM_Recover1000ChangesOn100kBook(benchmark::State& state) {
  const std::string path = ScratchFolder() + "/recover.dat.journal";
  const RecordList loaded = GenerateBook(100000);
  {
    journal::FileSink file(path);
    journal::Session left(file);
    left.Begin(platform::FileStamp{});
    std::size_t size = loaded.size();
    const auto added = static_cast<std::size_t>(state.range(0));
    for (std::size_t k = 0; k < 1000; ++k) {
      const bool isNew = added != 0 && k % (1000 / added) == 0;
      left.Record(isNew ? size++ : (k * 7919) % 100000, Edited(k));
    }
  }
  std::string saved;
  platform::ReadWholeFile(path, saved);
  const std::string next = ScratchFolder() + "/next.dat.journal";
  for (auto _ : state) {
    // The book as a load leaves it, full to its capacity: the first new
    // record of the replay moves it, as the session's first one would.
    state.PauseTiming();
    RecordList book = loaded;
    state.ResumeTiming();
    std::string bytes;
    platform::ReadWholeFile(path, bytes);
    const journal::Contents contents = journal::Parse(bytes);
    if (journal::Fitting(contents.entries, book.size()) != 1000) state.SkipWithError("not all fit");
    journal::Replay(contents.entries, book);
    journal::FileSink file(next);
    journal::Session session(file);
    if (!session.Begin(contents.book, contents.entries)) state.SkipWithError(session.failure().c_str());
    benchmark::DoNotOptimize(book.data());
    state.PauseTiming();
    book = RecordList();  // freed outside the measurement
    state.ResumeTiming();
  }
  state.counters["records"] = static_cast<double>(loaded.size());
  state.counters["journal_bytes"] = static_cast<double>(saved.size());
}
BENCHMARK(BM_Recover1000ChangesOn100kBook)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
