// Whether the desktop session is ending; set by the backend, read by the program.
#include "app/toolkit/session_end.h"

namespace {

bool sessionEnding = false;

}  // namespace

bool AfxSessionEnding() { return sessionEnding; }

void toolkit::SetSessionEnding(bool ending) { sessionEnding = ending; }
