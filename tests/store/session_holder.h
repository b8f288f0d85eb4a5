// A stand-in for a first Kestrel: a child process that holds the program's
// session lock on a book until it is killed. POSIX only (fork).
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <string>

#include "store/platform/platform.h"

// Returns the child's process id once it holds the lock, or -1 when it could
// not take it. The caller kills and reaps the child.
inline pid_t HoldSession(const std::string& path) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    platform::BookLock lock =
        platform::BookLock::Acquire(path, platform::BookLock::Purpose::session);
    const char held = lock.status() == platform::BookLock::Status::held ? 'y' : 'n';
    (void)!write(ready[1], &held, 1);
    for (;;) pause();
  }
  char held = 'n';
  (void)!read(ready[0], &held, 1);
  close(ready[0]);
  close(ready[1]);
  return held == 'y' ? child : -1;
}
