// The single steps each system's files provide to the policy written once in
// platform_common.cpp: the policy names the files and decides when to try
// again; a step only calls the system.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Makes the new file `backup` hold the current bytes of the file at `path`
// (a link at `path` followed to the book itself), never replacing anything.
// Returns 0, EEXIST when `backup` is taken, or another errno value; on
// failure nothing is left at `backup`.
int KeepBackupAs(const std::string& path, const std::string& backup);

// The file that saves of `path` write and name their temporary files after:
// links followed here, the full path on Windows.
std::string SaveTarget(const std::string& path);

// The names in the folder of `target`, and in `folder` that folder as it
// starts `target` ("" for a bare name, else up to its last separator).
std::vector<std::string> NamesBeside(const std::string& target, std::string& folder);

// A new name for a save's temporary file of `target`: `target`, kTempMarker
// and six random letters. Written once here; the systems create it.
std::string TemporaryNameFor(const std::string& target);

}  // namespace platform
