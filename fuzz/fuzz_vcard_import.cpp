// Fuzz target: any bytes imported as vCard, and the round trip of what came in.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return RunFuzzCheck("fuzz_vcard_import", CheckVCardImport, data, size);
}
