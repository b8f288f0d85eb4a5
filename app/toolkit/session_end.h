// The end of the desktop session (logout, shutdown) as the program sees it.
// Once it is under way, windows that close were not closed by the user: the
// program must not read that as the user's choice to discard the session.
#pragma once

// True once the desktop has said that the session ends.
bool AfxSessionEnding();

namespace toolkit {

// Called by a backend when the desktop announces the end of the session
// (true), or says that it was called off after all (false).
void SetSessionEnding(bool ending);

// Has the running backend note the desktop's end-of-session request. The
// request itself is let through: the program never delays a logout.
void WatchSessionEnd();

}  // namespace toolkit
