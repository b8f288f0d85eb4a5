// The standard output on POSIX systems: bytes, whatever it is.
#include <cerrno>
#include <cstdio>

#include "tools/standard_output.h"

int PutStandardOutput(std::string_view bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size()) return 0;
  return errno != 0 ? errno : EIO;
}
