// Amounts in words for messages about memory: "1,048,576", "171.4 MB", "1.7 GB".
#pragma once

#include <cstdint>
#include <string>

// `n` with its thousands grouped: "1,048,576".
std::string Grouped(std::uint64_t n);

// `bytes` with one decimal, in megabytes of 2^20 below a gigabyte of 2^30
// ("171.4 MB"), else in gigabytes ("1.7 GB").
std::string MemoryAmount(std::uint64_t bytes);
