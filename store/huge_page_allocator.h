// Memory for large arrays in 2 MB pages. A whole book of records (171 MB for
// 100,000 records) touched for the first time in 4 KB pages costs one page
// fault per 4 KB, which dominates loading; in huge pages it costs a few dozen.
#pragma once

#include <cstddef>
#include <new>

// Returns `bytes` of memory aligned to 2 MB, backed by huge pages where the
// kernel gives them and faulted in ahead of use; throws std::bad_alloc when
// none is left. Only for blocks of kLargeBlock bytes or more.
void* AllocateLargeBlock(std::size_t bytes);
// Releases a block from AllocateLargeBlock of the same size.
void FreeLargeBlock(void* block, std::size_t bytes);

// Asks the kernel to back the pages inside [data, data + bytes) with huge
// pages and to fault them in now. For buffers that are about to be written
// whole; changes no contents, and does nothing where it is not supported.
void PrepareLargeBuffer(void* data, std::size_t bytes);

inline constexpr std::size_t kLargeBlock = std::size_t{2} << 20;

// A standard allocator that takes large blocks from AllocateLargeBlock and
// small ones from operator new. Under AddressSanitizer every block comes
// from operator new, so overflows are still caught.
template <class T>
struct HugePageAllocator {
  using value_type = T;

  HugePageAllocator() = default;
  template <class U>
  HugePageAllocator(const HugePageAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const std::size_t bytes = n * sizeof(T);
    if (UseLargeBlock(bytes)) return static_cast<T*>(AllocateLargeBlock(bytes));
    return static_cast<T*>(::operator new(bytes));
  }
  void deallocate(T* p, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (UseLargeBlock(bytes)) {
      FreeLargeBlock(p, bytes);
    } else {
      ::operator delete(p);
    }
  }

  template <class U>
  bool operator==(const HugePageAllocator<U>&) const {
    return true;
  }

 private:
  static bool UseLargeBlock(std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
    (void)bytes;
    return false;
#else
    return bytes >= kLargeBlock;
#endif
  }
};
