// The controls of a dialog template as Qt widgets, and their texts.
#pragma once

#include <QRect>
#include <QWidget>
#include <string>
#include <string_view>

#include "app/toolkit/dialog_template.h"

namespace toolkit {

class DialogWindow;

// Makes the widget of control `c` in `window` at pixel rectangle r, with the
// template's text, style and id; buttons and list boxes report to the
// window's events.
QWidget* MakeControl(DialogWindow& window, const ControlTemplate& c, const QRect& r);

// The text of a window or control in Windows-1252: the caption of a dialog,
// the text of an edit, the template text (with its "&") of anything else.
std::string WindowTextOf(const QWidget* widget);
void SetWindowTextOf(QWidget* widget, std::string_view text);

}  // namespace toolkit
