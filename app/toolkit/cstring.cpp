// CString formatting, folding and search.
#include "app/toolkit/cstring.h"

#include <cstdarg>
#include <cstdio>

#include "text/cp1252.h"
#include "app/toolkit/resource_table.h"

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out;
  if (length > 0) {
    out.resize(static_cast<std::size_t>(length));
    // The buffer holds length bytes plus the terminator that std::string keeps.
    std::vsnprintf(out.data(), out.size() + 1, format, again);
  }
  va_end(again);
  text_ = std::move(out);
}

void CString::MakeLower() {
  for (char& ch : text_) ch = static_cast<char>(cp1252::ToLower(static_cast<unsigned char>(ch)));
}

int CString::Find(const char* what, int start) const {
  if (start < 0) start = 0;
  if (static_cast<std::size_t>(start) > text_.size()) return -1;
  const auto at = text_.find(what ? what : "", static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(char what, int start) const {
  if (start < 0) start = 0;
  if (static_cast<std::size_t>(start) >= text_.size()) return -1;
  const auto at = text_.find(what, static_cast<std::size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

BOOL CString::LoadString(UINT id) {
  const char* text = toolkit::FindString(static_cast<int>(id));
  if (text == nullptr) return FALSE;
  text_ = text;
  return TRUE;
}
