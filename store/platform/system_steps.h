// The single steps each system's files provide to the policy written once in
// platform_common.cpp: the policy names the files and decides when to try
// again; a step only calls the system.
#pragma once

#include <string>

namespace platform {

// Makes the new file `backup` hold the current bytes of the file at `path`
// (a link at `path` followed to the book itself), never replacing anything.
// Returns 0, EEXIST when `backup` is taken, or another errno value; on
// failure nothing is left at `backup`.
int KeepBackupAs(const std::string& path, const std::string& backup);

}  // namespace platform
