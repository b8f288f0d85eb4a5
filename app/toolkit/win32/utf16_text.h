// Windows-1252 and the UTF-16 of Windows' wide calls, converted with the
// program's own table, so the result never depends on the PC's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

std::u16string ToUtf16(std::string_view cp1252Text);
// '?' stands for what the code page cannot hold (and for a lone surrogate).
std::string FromUtf16(std::u16string_view text);

}  // namespace win32
