// Memory for large arrays in 2 MB pages. A whole book of records (171 MB for
// 100,000 records) touched for the first time in 4 KB pages costs one page
// fault per 4 KB, which dominates loading; in huge pages it costs a few dozen.
#pragma once

#include <cstddef>
#include <new>

#include "store/platform/platform.h"

// A standard allocator that takes large blocks from the platform's
// AllocateLargeBlock and small ones from operator new. Under AddressSanitizer every block comes
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
    if (UseLargeBlock(bytes)) return static_cast<T*>(platform::AllocateLargeBlock(bytes));
    return static_cast<T*>(::operator new(bytes));
  }
  void deallocate(T* p, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (UseLargeBlock(bytes)) {
      platform::FreeLargeBlock(p, bytes);
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
    return bytes >= platform::kLargeBlock;
#endif
  }
};
