// Memory on Windows. Large pages need a privilege that ordinary accounts
// lack, so large blocks are plain committed memory.
#include <new>

#include "store/platform/windows_files.h"

namespace platform {

std::uint64_t AvailableMemory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return 0;
  return status.ullAvailPhys < status.ullAvailVirtual ? status.ullAvailPhys
                                                      : status.ullAvailVirtual;
}

void* AllocateLargeBlock(std::size_t bytes) {
  // VirtualAlloc's blocks start on 64 KB; round the start up to kLargeBlock.
  const std::size_t size = bytes + kLargeBlock;
  void* reserved = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
  if (reserved == nullptr) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(reserved);
  const auto aligned = (start + kLargeBlock - 1) & ~(std::uintptr_t{kLargeBlock} - 1);
  void* block = VirtualAlloc(reinterpret_cast<void*>(aligned), bytes, MEM_COMMIT, PAGE_READWRITE);
  if (block == nullptr) {
    VirtualFree(reserved, 0, MEM_RELEASE);
    throw std::bad_alloc();
  }
  return block;
}

void FreeLargeBlock(void* block, std::size_t /*bytes*/) {
  // The reservation starts at or before the block; ask the system where.
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(block, &info, sizeof info) != 0) VirtualFree(info.AllocationBase, 0, MEM_RELEASE);
}

void PrepareLargeBuffer(void* /*data*/, std::size_t /*bytes*/) {}

}  // namespace platform
