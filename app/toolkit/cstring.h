// CString: the growable Windows-1252 string of the dialog code and the search,
// with the toolkit's formatting, lower-casing and substring search. Plain C++.
#pragma once

#include <string>
#include <string_view>

#include "app/toolkit/win_types.h"

class CString {
 public:
  CString() = default;
  CString(const char* text) : text_(text ? text : "") {}  // NOLINT: converts like the toolkit's
  CString(std::string text) : text_(std::move(text)) {}   // NOLINT
  CString(std::string_view text) : text_(text) {}         // NOLINT

  // Number of bytes (characters of the code page), without the terminator.
  int GetLength() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }
  void Empty() { text_.clear(); }

  // The text, NUL-terminated, valid until the string next changes.
  operator const char*() const { return text_.c_str(); }  // NOLINT
  const char* GetString() const { return text_.c_str(); }
  const std::string& str() const { return text_; }

  // Replaces the text with printf-style output. A format error leaves the
  // string empty. Arguments must be plain values: pass a CString as
  // GetString(), never as itself.
  [[gnu::format(printf, 2, 3)]] void Format(const char* format, ...);

  // Folds letters to lower case as Windows-1252 does (A-Z and the accented
  // capitals); every other byte is kept.
  void MakeLower();

  // Index of the first occurrence of what at or after start, or -1. Finding
  // the empty string returns start (0 by default). A start beyond the end
  // finds nothing.
  int Find(const char* what, int start = 0) const;
  int Find(char what, int start = 0) const;

  // Replaces the text with string resource id. Returns FALSE, leaving the
  // text unchanged, when the program has no such string.
  BOOL LoadString(UINT id);

  CString& operator=(const char* text) {
    text_ = text ? text : "";
    return *this;
  }
  CString& operator+=(const CString& more) {
    text_ += more.text_;
    return *this;
  }
  CString& operator+=(const char* more) {
    text_ += more ? more : "";
    return *this;
  }
  CString& operator+=(char ch) {
    text_ += ch;
    return *this;
  }

  friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
  friend bool operator==(const CString& a, const char* b) { return a.text_ == (b ? b : ""); }
  friend CString operator+(CString a, const CString& b) { return a += b; }

 private:
  std::string text_;
};
