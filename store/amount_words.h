// Amounts in words for messages about memory: "1,048,576", "1.7 GB".
#pragma once

#include <cstdint>
#include <string>

// `n` with its thousands grouped: "1,048,576".
std::string Grouped(std::uint64_t n);

// `bytes` in gigabytes of 2^30, one decimal: "1.7 GB".
std::string Gigabytes(std::uint64_t bytes);
