// Text for a console that takes UTF-16 (the Windows console): what the tool
// writes as UTF-8 bytes, converted in pieces as they come.
#pragma once

#include <string>

// Converts the complete UTF-8 sequences at the front of `pending` to UTF-16
// and removes them; a sequence cut short at the end stays in `pending` for
// the next piece. A malformed byte becomes U+FFFD.
std::u16string TakeUtf16(std::string& pending);
