// kestrel-book's data on the standard output (lists, exports, unpacked
// text): the bytes unchanged to a file or a pipe; as text to a console
// that takes UTF-16 (Windows). One implementation per system.
#pragma once

#include <string_view>

// Writes `bytes` (UTF-8 text, or any bytes) to the standard output.
void WriteStandardOutput(std::string_view bytes);
