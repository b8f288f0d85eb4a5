// The single steps each system's files provide to the policy written once in
// platform_common.cpp: the policy names the files and decides when to try
// again; a step only calls the system.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// The file that saves of `path` write and name their temporary files after:
// links followed here, the full path on Windows.
std::string SaveTarget(const std::string& path);

// The folder part of `path`: "." for a bare name, the root for a file in it.
std::string FolderOf(const std::string& path);

// The names in the folder of `target`, and in `folder` that folder as it
// starts `target` ("" for a bare name, else up to its last separator).
std::vector<std::string> NamesBeside(const std::string& target, std::string& folder);

// The two ends of reading a whole input, the same on every system. Before:
// when `limit` bounds an input of unknown length (a pipe), room for all of
// it is reserved at once, so that growing never copies what was read; where
// there is no such room it doubles as it comes.
void ReserveForUnknownLength(std::string& bytes, std::size_t limit);
// After: cuts `bytes` to the `have` bytes read. Returns 0, or kPastLimit
// with the first `limit` bytes kept when more came.
int EndRead(std::string& bytes, std::size_t have, std::size_t limit);

// A new name for a save's temporary file of `target`: `target`, kTempMarker
// and six random letters. Written once here; the systems create it.
std::string TemporaryNameFor(const std::string& target);

}  // namespace platform
