// Linked into every test program of the Windows build: standard output and
// error in binary mode, so they end lines with LF as on Linux. ctest's test
// discovery and the tests' expected outputs then read the same on both.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {
const bool kLfOutput = [] {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return true;
}();
}  // namespace
