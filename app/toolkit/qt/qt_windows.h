// The Qt side of the toolkit's windows, for tests and benchmarks that drive
// real widgets: find a running dialog's window and its controls by number,
// tell which template a window was built from, end a modal run that a test
// has given up on. The program itself never includes this.
#pragma once

#include <QWidget>

#include "app/toolkit/qt/controls.h"
#include "app/toolkit/qt/dialog_font.h"
#include "app/toolkit/qt/dialog_window.h"
#include "app/toolkit/qt/qt_text.h"

namespace toolkit {

// Window is a toolkit window (dialog or message box): its control numbered id,
// or nullptr.
QWidget* FindControl(QWidget* window, int id);

// The template number a toolkit window was built from, 0 for a message box,
// -1 for any other widget (or nullptr).
int TemplateIdOf(const QWidget* window);

// Ends the modal run of a toolkit window with code, as EndDialog would;
// does nothing for other widgets.
void EndModal(QWidget* window, int code);

}  // namespace toolkit
