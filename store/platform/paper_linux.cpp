// The locale's paper on Linux: glibc's LC_PAPER names its size in millimetres.
#include <langinfo.h>

#include <clocale>
#include <cstdint>
#include <string>

#include "store/platform/platform.h"

namespace platform {

LocalePaper PaperOfLocale() {
  // The program runs in the "C" locale; the user's LC_PAPER is read only
  // for this question, and the category put back after.
  const char* current = std::setlocale(LC_PAPER, nullptr);
  const std::string previous = current != nullptr ? current : "C";
  if (std::setlocale(LC_PAPER, "") == nullptr) return LocalePaper::a4;
  // glibc hands these numbers back in the pointer itself.
  const auto width =
      static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
  const auto height =
      static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
  std::setlocale(LC_PAPER, previous.c_str());
  return width == 216 && height == 279 ? LocalePaper::letter : LocalePaper::a4;
}

}  // namespace platform
