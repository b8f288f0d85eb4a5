// kestrel-book on POSIX systems: a reader that closes the pipe early (head,
// a pager quit) makes the next write fail with EPIPE, which the commands turn
// into exit status 1, rather than ending the process by SIGPIPE (141).
#include <csignal>

namespace {
const bool kBrokenPipesAreFailedWrites = [] {
  std::signal(SIGPIPE, SIG_IGN);
  return true;
}();
}  // namespace
