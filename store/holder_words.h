// How messages name whoever holds a book: "open in Kestrel on DESK-3 by anna
// since 08:05". One wording for the program's questions and the command
// line's refusals alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/lock_file.h"
#include "store/platform/platform.h"

namespace lock_file {

// A holder in words (UTF-8): "open in Kestrel on DESK-3 by anna since
// 08:05" for a session, "being written by another program on DESK-3 by anna
// since 08:05" for a command. The time is this computer's local time, with
// the date added when it is not the day of `now`: "since 08:05 on 7
// December 2026". Without a holder the words are "open in Kestrel (process
// 4711)", the process (`processId`, as the lock names it) left out when 0.
std::string HolderWords(bool session, long processId, const std::optional<Holder>& holder,
                        std::int64_t now);

// The holder that made `lock` busy, from the lock file of the book at
// `bookPath`, now.
std::string HolderWords(const std::string& bookPath, const platform::BookLock& lock);

}  // namespace lock_file
