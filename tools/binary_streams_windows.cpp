// kestrel-book on Windows: standard input and output carry bytes unchanged.
// In the C runtime's text mode a packed book piped through `pack -` would
// lose every CR before an LF and end at the first byte 0x1A, and the tool's
// lines would end differently from Linux; in binary mode they never do.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {
const bool kBinaryStreams = [] {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return true;
}();
}  // namespace
