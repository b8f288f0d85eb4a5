// Fuzz target: any bytes read as a whole data file, then loaded as a book.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return RunFuzzCheck("fuzz_decode_file", CheckDecodeFile, data, size);
}
