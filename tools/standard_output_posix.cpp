// The standard output on POSIX systems: bytes, whatever it is.
#include <cstdio>

#include "tools/standard_output.h"

void WriteStandardOutput(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}
