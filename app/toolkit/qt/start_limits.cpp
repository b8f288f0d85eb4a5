// The process's limits, checked before the toolkit starts.
#include "app/toolkit/qt/start_limits.h"

#include <fcntl.h>
#include <sys/resource.h>

#include <cstdio>

std::string StartLimitProblem(std::uint64_t fileLimit, std::uint64_t openFiles,
                              std::uint64_t memoryLimit) {
  const std::uint64_t files = openFiles + kFilesToRun;
  if (fileLimit < files) {
    return "only " + std::to_string(fileLimit) + " files may be open at once (ulimit -n); it needs " +
           std::to_string(files);
  }
  if (memoryLimit != 0 && memoryLimit < kMemoryToStart) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "its memory is limited to %.1f MB (ulimit -v), too little to start; it needs %llu MB",
                  static_cast<double>(memoryLimit) / (1 << 20),
                  static_cast<unsigned long long>(kMemoryToStart >> 20));
    return text;
  }
  return "";
}

std::string StartLimitProblem() {
  rlimit files{};
  std::uint64_t fileLimit = UINT64_MAX;
  if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY) {
    if (files.rlim_cur < files.rlim_max) {  // the soft limit may rise as far as the hard one
      files.rlim_cur = files.rlim_max;
      setrlimit(RLIMIT_NOFILE, &files);
      getrlimit(RLIMIT_NOFILE, &files);
    }
    fileLimit = files.rlim_cur;
  }
  // Counting what is open only matters near a small limit.
  std::uint64_t open = 0;
  if (fileLimit < 1024) {
    for (int fd = 0; fd < static_cast<int>(fileLimit); ++fd) open += fcntl(fd, F_GETFD) != -1;
  }
  return StartLimitProblem(fileLimit, open, ProcessMemoryLimit());
}

std::uint64_t ProcessMemoryLimit() {
  rlimit memory{};
  if (getrlimit(RLIMIT_AS, &memory) == 0 && memory.rlim_cur != RLIM_INFINITY) {
    return memory.rlim_cur;
  }
  return 0;
}
