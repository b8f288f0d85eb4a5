// The list box control: a list view over a model of Windows-1252 rows,
// driven by the LB_ messages.
#pragma once

#include <QListView>

#include "app/toolkit/win_types.h"

namespace toolkit {

// A single-selection list box with the template's style bits.
QListView* MakeListBox(QWidget* parent, unsigned style);

// The LB_ messages on a list box control. Returns LB_ERR for a widget that is
// not a list box, as for an index out of range.
LRESULT ListBoxMessage(QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace toolkit
