// Large blocks by mmap, aligned to 2 MB so that huge pages can back them.
#include "store/huge_page_allocator.h"

#include <sys/mman.h>

#include <cstdint>

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
