// The locale's paper on Windows: the user's measurement system, US (inches)
// for Letter, metric for A4.
#include "store/platform/windows_files.h"

namespace platform {

LocalePaper PaperOfLocale() {
  wchar_t measure[4] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IMEASURE, measure, 4) == 0) {
    return LocalePaper::a4;
  }
  return measure[0] == L'1' ? LocalePaper::letter : LocalePaper::a4;
}

}  // namespace platform
