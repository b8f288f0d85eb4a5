// Paths as the program shows them in its messages.
#pragma once

#include <string>

// The file as the user can find it: its full path where it can be made, in
// the dialogs' Windows-1252 (the system names files in UTF-8).
std::string ShownPath(const char* fileName);
inline std::string ShownPath(const std::string& fileName) { return ShownPath(fileName.c_str()); }
