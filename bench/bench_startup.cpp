// The program's start as a user sees it: from starting kestrel to its main
// form mapped on an X server (Xvfb), for an empty book and for one of
// 100,000 records. Each start runs in a fresh folder holding only the book,
// and the program is ended as soon as its form is there.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "store/record_store.h"
#include "tools/book_generator.h"
#include "x_screen.h"

namespace {

namespace fs = std::filesystem;

// The main form's title.
constexpr char kMainFormTitle[] = "Kestrel";

std::string ScratchFolder() {
  // Never destroyed: the clean-up at exit runs after the destructors of
  // statics whose construction ended after it was registered.
  static const std::string& folder = *[] {
    const char* base = std::getenv("TMPDIR");
    auto* pattern = new std::string(std::string(base != nullptr ? base : "/tmp") +
                                    "/kestrel-bench-startup-XXXXXX");
    if (mkdtemp(pattern->data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(ScratchFolder(), ignored);
    });
    return pattern;
  }();
  return folder;
}

// A book of `records` generated records, written once.
const std::string& BookOf(std::size_t records) {
  static std::map<std::size_t, std::string> books;
  std::string& path = books[records];
  if (path.empty()) {
    path = ScratchFolder() + "/book-" + std::to_string(records) + ".dat";
    RecordStore store(path.c_str());
    store.SetSyncOnSave(false);
    store.records = GenerateBook(records);
    if (!store.Save().ok()) std::abort();
  }
  return path;
}

// The one X server of the run, and its watch.
struct Screen {
  VirtualScreen server;
  MapWatch watch{server.display()};
};
Screen& TheScreen() {
  static Screen screen;
  return screen;
}

// Starts kestrel in `folder` on `display`, with a home folder of its own;
// returns its process id.
pid_t StartProgram(const std::string& folder, const std::string& display) {
  const std::string home = ScratchFolder() + "/home";
  const pid_t child = fork();
  if (child != 0) return child;
  if (chdir(folder.c_str()) != 0) _exit(127);
  setenv("HOME", home.c_str(), 1);
  setenv("DISPLAY", display.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  unsetenv("WAYLAND_DISPLAY");
  execl(KESTREL_PROGRAM, KESTREL_PROGRAM, static_cast<char*>(nullptr));
  _exit(127);
}

// Ends the program; returns the processor time it used, in seconds.
double EndProgram(pid_t program) {
  kill(program, SIGKILL);
  int status;
  rusage used{};
  while (wait4(program, &status, 0, &used) < 0 && errno == EINTR) {
  }
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(used.ru_utime) + seconds(used.ru_stime);
}

// What one start took: the time from starting the process to its main form
// mapped (negative when the form did not come), and the processor time the
// program used until then, which the other programs of a busy machine
// disturb less.
struct Start {
  double seconds = -1;
  double processorSeconds = 0;
};

Start TimeOneStart(const std::string& book, int run) {
  Screen& screen = TheScreen();
  const std::string folder = ScratchFolder() + "/run-" + std::to_string(run);
  fs::create_directories(folder);
  fs::copy_file(book, folder + "/phone.dat", fs::copy_options::overwrite_existing);
  screen.watch.Forget();
  const auto start = std::chrono::steady_clock::now();
  const pid_t program = StartProgram(folder, screen.server.display());
  const bool mapped = screen.watch.WaitForMapped(kMainFormTitle, std::chrono::seconds(20));
  const auto end = std::chrono::steady_clock::now();
  Start took;
  took.processorSeconds = EndProgram(program);
  if (mapped) took.seconds = std::chrono::duration<double>(end - start).count();
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return took;
}

// The argument is the book's number of records.
void BM_StartToMainFormMapped(benchmark::State& state) {
  Screen& screen = TheScreen();
  if (!screen.watch.connected()) {
    state.SkipWithError(("no X server: " + screen.server.failure()).c_str());
    return;
  }
  fs::create_directories(ScratchFolder() + "/home");
  const std::string& book = BookOf(static_cast<std::size_t>(state.range(0)));
  static int run = 0;
  // The first start of each book fills the caches (fonts, the program's
  // pages) that every later one finds full, as a user's second start does.
  static std::set<std::int64_t> warm;
  if (warm.insert(state.range(0)).second && TimeOneStart(book, ++run).seconds < 0) {
    state.SkipWithError("the main form did not appear");
    return;
  }
  double processorSeconds = 0;
  for (auto _ : state) {
    const Start took = TimeOneStart(book, ++run);
    if (took.seconds < 0) {
      state.SkipWithError("the main form did not appear");
      return;
    }
    state.SetIterationTime(took.seconds);
    processorSeconds += took.processorSeconds;
  }
  state.counters["records"] = static_cast<double>(state.range(0));
  state.counters["cpu_ms"] =
      benchmark::Counter(processorSeconds * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartToMainFormMapped)
    ->Arg(0)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
