// A running dialog's window tree as USER32 reports it, for tests whose other
// files cannot include <windows.h> (its macros clash with the toolkit's).
#pragma once

#include <string>
#include <vector>

struct HWND__;

// The text of the static control just before `control` among its
// siblings (z-order, the order of creation); "<none>" when the window
// before it is no static or there is none.
std::string StaticTextBefore(HWND__* control);

// The ids of the dialog's tab stops in the order Tab visits them, starting
// from the first.
std::vector<int> TabStopIds(HWND__* dialog);
