// make_sample_book: writes the demo's sample book, a small book of made-up
// students, so examples/phone.dat can be made again byte for byte.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "store/record_store.h"
#include "tools/book_generator.h"

namespace {

// Small enough to browse by hand, large enough that common fragments ("an",
// "son", "555") find several students and open the match list.
constexpr std::size_t kSampleStudents = 60;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(stderr, "usage: make_sample_book FILE  (writes %zu made-up students to FILE)\n",
                 kSampleStudents);
    return 2;
  }
  RecordStore store(argv[1]);
  store.records = GenerateBook(kSampleStudents, kBookSeed);
  const SaveResult result = store.Save();
  if (!result.ok()) {
    std::fprintf(stderr, "make_sample_book: %s: %s\n", argv[1], result.reason.c_str());
    return 1;
  }
  std::printf("%s: %zu students\n", argv[1], kSampleStudents);
  return 0;
}
