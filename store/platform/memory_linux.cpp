// Memory on Linux: what is still available, and large blocks aligned to 2 MB
// so that huge pages can back them. A whole book of records (171 MB for
// 100,000 records) touched for the first time in 4 KB pages costs one page
// fault per 4 KB, which dominates loading; in huge pages it costs a few dozen.
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <new>

#include "store/platform/platform.h"

namespace platform {

std::uint64_t AvailableMemory() {
  std::uint64_t available = static_cast<std::uint64_t>(sysconf(_SC_AVPHYS_PAGES)) *
                            static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  // MemAvailable counts the page cache that can be dropped, as free memory does not.
  if (std::FILE* info = std::fopen("/proc/meminfo", "re")) {
    char line[128];
    unsigned long long kilobytes = 0;
    while (std::fgets(line, sizeof line, info) != nullptr) {
      if (std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1) {
        available = static_cast<std::uint64_t>(kilobytes) * 1024;
      }
    }
    std::fclose(info);
  }
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    available = std::min<std::uint64_t>(available, limit.rlim_cur);
  }
  return available;
}

namespace {

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older kernels refuse it harmlessly
#endif

std::size_t RoundUp(std::size_t bytes) { return (bytes + kLargeBlock - 1) & ~(kLargeBlock - 1); }

}  // namespace

void PrepareLargeBuffer(void* data, std::size_t bytes) {
  const std::uintptr_t page = 4096;
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(page - 1);
  if (end <= begin) return;
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

void* AllocateLargeBlock(std::size_t bytes) {
  const std::size_t size = RoundUp(bytes);
  // Map one extra huge page, then give back the parts before and after the
  // aligned block.
  void* mapped =
      mmap(nullptr, size + kLargeBlock, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const auto aligned = (start + kLargeBlock - 1) & ~(kLargeBlock - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  const std::size_t tail = (start + size + kLargeBlock) - (aligned + size);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  void* block = reinterpret_cast<void*>(aligned);
  PrepareLargeBuffer(block, size);
  return block;
}

void FreeLargeBlock(void* block, std::size_t bytes) { munmap(block, RoundUp(bytes)); }

}  // namespace platform
