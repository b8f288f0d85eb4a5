// Amounts in words for messages about memory.
#include "store/amount_words.h"

#include <cstdio>

std::string Grouped(std::uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string grouped;
  grouped.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

std::string MemoryAmount(std::uint64_t bytes) {
  constexpr double kMegabyte = 1 << 20;
  constexpr double kGigabyte = 1 << 30;
  char text[32];
  if (bytes < (std::uint64_t{1} << 30)) {
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / kMegabyte);
  } else {
    std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / kGigabyte);
  }
  return text;
}
