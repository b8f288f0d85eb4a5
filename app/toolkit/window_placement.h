// Where the toolkit opens its windows, one rule for every backend: a dialog
// hidden at creation whose init handler did not move it is centred on its
// owner; a window without an owner (the main form) is centred on the work
// area of its screen; a message box is centred on its owner. A placed
// window never sticks out of the work area.
#pragma once

#include "app/toolkit/cwnd.h"
#include "app/toolkit/win_types.h"

namespace toolkit {

// `window` moved so that its centre is that of `over`, then pushed inside
// `workArea` where it would stick out (its top-left corner wins when it is
// larger than the work area). Same size.
CRect CentredOn(const CRect& window, const CRect& over, const CRect& workArea);

// Whether the toolkit places a dialog once its init handler has run. A
// dialog visible at creation with an owner keeps its template position.
bool ToolkitPlacesDialog(bool hasOwner, bool visibleAtCreation, bool movedByInit);

// Applies the rule to a dialog whose init handler has just run; `before`
// is where the dialog was before the handler ran.
void PlaceDialog(HWND dialog, HWND owner, bool visibleAtCreation, const CRect& before);

// Centres a message box, made but not yet shown, on its owner (on the work
// area when it has none).
void PlaceMessageBox(HWND box, HWND owner);

}  // namespace toolkit
