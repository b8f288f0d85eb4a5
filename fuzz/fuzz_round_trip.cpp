// Fuzz target: any bytes encoded into a data file and decoded again.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return RunFuzzCheck("fuzz_round_trip", CheckRoundTrip, data, size);
}
