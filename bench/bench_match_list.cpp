// How long the user waits for the match list to open on a search that
// matched 10k, 100k or 1M records (sort, labels, list filled, window shown
// and painted), and how quickly the open list scrolls from end to end. The
// dialogs run for real on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <map>
#include <vector>

#include "app/kestrel_app.h"
#include "app/toolkit/qt/qt_windows.h"
#include "res/resource.h"
#include "search/match_order.h"
#include "tools/book_generator.h"

namespace {

CKestrelApp* theApp = nullptr;  // made in main, once Qt runs

const RecordList& Book(int count) {
  static std::map<int, RecordList> books;
  auto it = books.find(count);
  if (it == books.end()) it = books.emplace(count, GenerateBook(static_cast<std::size_t>(count))).first;
  return it->second;
}

// What a search with empty criteria leaves: every record copied, in book order.
void CopyBookIntoMatches(const RecordList& book) {
  RecordList& matches = theApp->matches;
  matches.assign(book.begin(), book.end());
  for (std::size_t i = 0; i < matches.size(); ++i) matches[i].master = const_cast<StudentRecord*>(&book[i]);
}

// Runs the match list; `whileOpen` runs once it is on screen, then the list ends.
void RunMatchList(const std::function<void(QWidget* window, QListView* list)>& whileOpen) {
  QTimer::singleShot(0, [&whileOpen] {
    QWidget* window = QApplication::activeModalWidget();
    auto* list = qobject_cast<QListView*>(toolkit::FindControl(window, IDC_MATCH_LIST));
    whileOpen(window, list);
    toolkit::EndModal(window, IDCANCEL);
  });
  theApp->matchListDlg.DoModal();
}

void Report(benchmark::State& state) {
  state.counters["items"] = static_cast<double>(theApp->matches.size());
}

// From the click to a painted list: sort, one label per match, the list box
// filled, the window built, shown and painted.
void BM_OpenMatchList(benchmark::State& state) {
  const RecordList& book = Book(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    CopyBookIntoMatches(book);
    state.ResumeTiming();
    RunMatchList([](QWidget* window, QListView*) { window->repaint(); });
  }
  Report(state);
}

// End to end, as the user waits after "&Search Database" with an empty form:
// the search copies every record into fresh matches (the first search of a
// run; later ones reuse the memory), the list opens sorted, filled, shown and
// painted. Target: 250 ms at 100,000 records.
void BM_SearchToVisibleList(benchmark::State& state) {
  RecordList& book = theApp->store.records;
  book = Book(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    theApp->matches.clear();
    theApp->matches.shrink_to_fit();
    state.ResumeTiming();
    theApp->SearchBook();
    RunMatchList([](QWidget* window, QListView*) { window->repaint(); });
  }
  Report(state);
  book.clear();
  book.shrink_to_fit();
}

// The toolkit's part of opening: the labels, already sorted, added to the
// open list box one by one.
void BM_FillListBoxOnly(benchmark::State& state) {
  CopyBookIntoMatches(Book(static_cast<int>(state.range(0))));
  const std::vector<std::string> labels = SortMatches(theApp->matches);
  RunMatchList([&state, &labels](QWidget*, QListView*) {
    CListBox& listBox = theApp->matchListDlg.listBox;
    for (auto _ : state) {
      state.PauseTiming();
      listBox.ResetContent();
      state.ResumeTiming();
      for (const std::string& label : labels) listBox.AddString(label.c_str());
    }
  });
  Report(state);
}

// The open list: End, then Home, each painted, as a user jumping through it.
void BM_ScrollOpenList(benchmark::State& state) {
  CopyBookIntoMatches(Book(static_cast<int>(state.range(0))));
  RunMatchList([&state](QWidget*, QListView* list) {
    const int last = list->model()->rowCount() - 1;
    for (auto _ : state) {
      QTest::keyClick(list, Qt::Key_End);
      list->viewport()->repaint();
      if (list->currentIndex().row() != last) {
        state.SkipWithError("End did not reach the last item");
        break;
      }
      QTest::keyClick(list, Qt::Key_Home);
      list->viewport()->repaint();
    }
  });
  Report(state);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
  b->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_SearchToVisibleList)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_OpenMatchList)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_FillListBoxOnly)->Apply(Sizes);
BENCHMARK(BM_ScrollOpenList)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv) {
  // The windows are real but never seen: Qt's own option picks the platform.
  std::vector<char*> qtArgs(argv, argv + argc);
  char platform[] = "-platform";
  char offscreen[] = "offscreen";
  qtArgs.insert(qtArgs.begin() + 1, {platform, offscreen});
  int qtArgc = static_cast<int>(qtArgs.size());
  QApplication qt(qtArgc, qtArgs.data());
  toolkit::ApplyLook(qt);
  CKestrelApp app("bench-phone.dat");  // never loaded or saved
  theApp = &app;

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
