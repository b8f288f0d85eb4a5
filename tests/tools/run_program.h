// Running a built program as a user's shell would, for the command-line
// tests, on POSIX and on Windows alike.
#pragma once

#include <string>

// Runs `program` in `folder` with `args`, written as for a POSIX shell
// (words split at blanks; 'single' and "double" quotes), standard input from
// the file `input` and standard output and error into the files `out` and
// `err` (names in `folder`). Returns the exit status, or -1 when the program
// did not end normally.
int RunProgram(const std::string& folder, const std::string& program, const std::string& args,
               const std::string& input, const std::string& out, const std::string& err);
