// Whether the process's limits leave room for the toolkit to start, decided
// before it starts: with too few files or too little address space, the
// windowing libraries trap, crash or wait for ever instead of saying so.
#pragma once

#include <cstdint>
#include <string>

// Files the program opens beyond those open at its start: the display's
// connection and the toolkit's wake-up pipes, fonts, the book, its lock and
// journal, a save's temporary file and folder. It starts with 9 in all.
inline constexpr std::uint64_t kFilesToRun = 16;

// Address space the toolkit needs to start on a display; it fails to start
// a thread, or to map a library, below about 110 MB.
inline constexpr std::uint64_t kMemoryToStart = std::uint64_t{128} << 20;

// "" when `fileLimit` (the most files open at once) leaves kFilesToRun free
// beyond the `openFiles` open now, and `memoryLimit` (bytes of address
// space; 0 for none) is at least kMemoryToStart. Otherwise the reason, one
// line without the program's name: "only 5 files may be open at once
// (ulimit -n); it needs 19".
std::string StartLimitProblem(std::uint64_t fileLimit, std::uint64_t openFiles,
                              std::uint64_t memoryLimit);

// The same for this process, from its own limits and open files.
std::string StartLimitProblem();

// This process's limit on its address space in bytes (ulimit -v); 0 for none.
std::uint64_t ProcessMemoryLimit();
