// A stand-in for a first Kestrel, or for a command writing the book: a child
// process that holds the book's lock, and so writes the lock file beside it
// as they do, until it is killed or the test ends. Linux only (fork, prctl).
#pragma once

#include <sys/prctl.h>
#include <sys/types.h>
#include <unistd.h>

#include <csignal>

#include <string>

#include "store/platform/platform.h"
#include "store/record_store.h"

// Returns the child's process id once it holds the lock, or -1 when it could
// not take it. The caller kills and reaps the child.
inline pid_t HoldBook(const std::string& path, platform::BookLock::Purpose purpose) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that fails half way leaves no holder behind
    RecordStore store(path.c_str());
    const char held = store.Lock(purpose).status() == platform::BookLock::Status::held ? 'y' : 'n';
    (void)!write(ready[1], &held, 1);
    for (;;) pause();
  }
  char held = 'n';
  (void)!read(ready[0], &held, 1);
  close(ready[0]);
  close(ready[1]);
  return held == 'y' ? child : -1;
}

inline pid_t HoldSession(const std::string& path) {
  return HoldBook(path, platform::BookLock::Purpose::session);
}
