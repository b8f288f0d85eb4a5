// Fuzz target: a workbook imported (as a zip archive, or packed from its XML
// parts), and the round trip of what came in.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return RunFuzzCheck("fuzz_xlsx_import", CheckXlsxImport, data, size);
}
