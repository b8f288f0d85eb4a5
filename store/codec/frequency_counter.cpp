// Byte counting with four interleaved tables, so that runs of one byte value
// do not wait on the same counter.
#include "store/codec/frequency_counter.h"

#include <algorithm>
#include <cstddef>

void FrequencyCounter::Count() {
  const auto* data = reinterpret_cast<const unsigned char*>(input_.data());
  std::size_t left = input_.size();
  // Chunks stay below 2^32 bytes so each 32-bit lane cannot overflow.
  constexpr std::size_t kChunk = std::size_t{1} << 30;
  while (left > 0) {
    const std::size_t size = std::min(left, kChunk);
    std::array<std::array<std::uint32_t, 256>, 4> lanes{};
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
      ++lanes[0][data[i]];
      ++lanes[1][data[i + 1]];
      ++lanes[2][data[i + 2]];
      ++lanes[3][data[i + 3]];
    }
    for (; i < size; ++i) ++lanes[0][data[i]];
    for (int v = 0; v < 256; ++v) {
      counts_[v] += std::uint64_t{lanes[0][v]} + lanes[1][v] + lanes[2][v] + lanes[3][v];
    }
    data += size;
    left -= size;
  }
}

std::uint64_t FrequencyCounter::Largest() const {
  return *std::max_element(counts_.begin(), counts_.end());
}

void FrequencyCounter::CopyTo(std::array<std::int32_t, 256>& table) const {
  for (int v = 0; v < 256; ++v) table[v] = static_cast<std::int32_t>(counts_[v]);
}
