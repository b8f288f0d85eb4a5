// The body every libFuzzer entry point shares: run one check, and turn a
// failed property into a crash that the fuzzer records with its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

inline int RunFuzzCheck(const char* target, std::string (*check)(std::string_view),
                        const std::uint8_t* data, std::size_t size) {
  const std::string failure = check({reinterpret_cast<const char*>(data), size});
  if (!failure.empty()) {
    std::fprintf(stderr, "%s: %s\n", target, failure.c_str());
    std::abort();
  }
  return 0;
}
