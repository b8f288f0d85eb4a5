// Fuzz target: any bytes read as a session journal, summarized, parsed,
// replayed and encoded again.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return RunFuzzCheck("fuzz_journal", CheckJournal, data, size);
}
