// Counts how often each byte value occurs in the encoder's input.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

class FrequencyCounter {
 public:
  // Counts over `input`, which must outlive the counter. All counts start at 0.
  explicit FrequencyCounter(std::string_view input) : input_(input) {}

  // Adds one to the count of each input byte's unsigned value. Counting again
  // counts the input again on top.
  void Count();

  // The largest count. The file stores counts as signed 32-bit integers, so
  // an input is writable only while this stays below 2^31.
  std::uint64_t Largest() const;

  // Copies the 256 counts into `table` as signed 32-bit integers. Counts of
  // 2^31 or more do not fit; check Largest() first.
  void CopyTo(std::array<std::int32_t, 256>& table) const;

 private:
  std::string_view input_;
  std::array<std::uint64_t, 256> counts_{};
};
