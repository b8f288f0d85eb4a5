// Running a piece of a test in a child process, so that limits set there
// (file sizes, memory, dropped privileges) stay there. POSIX only.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

// Runs `body` in a child process and returns the text it returned, so that
// file-size limits and dropped privileges stay in the child.
inline std::string InChild(const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const std::string said = body();
    (void)!write(channel[1], said.data(), said.size());
    _exit(0);
  }
  close(channel[1]);
  std::string said;
  char buffer[256];
  ssize_t got;
  while ((got = read(channel[0], buffer, sizeof buffer)) > 0) said.append(buffer, got);
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return "child died";
  return said;
}
