// Helpers for writing byte strings in tests as hex.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>

// "06 01 00" -> the three bytes.
inline std::string Bytes(std::string_view hex) {
  std::string out;
  std::istringstream in{std::string(hex)};
  unsigned value;
  while (in >> std::hex >> value) out += static_cast<char>(value);
  return out;
}

// The bytes as "06 01 00", for readable failures.
inline std::string Hex(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", c);
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}
