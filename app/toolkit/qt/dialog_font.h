// The font the dialogs are laid out in, and the look of the whole program.
#pragma once

#include <QFont>

#include "app/toolkit/dialog_units.h"

class QApplication;

namespace toolkit {

// The font that stands in for the template's dialog font, and its base units.
QFont DialogFont(const char* name, int pointSize);
BaseUnits BaseUnitsOf(const QFont& font);

// The look the dialogs are laid out for: the Fusion style and the dialog
// font. RunProgram applies it; tests that start their own QApplication call it.
void ApplyLook(QApplication& app);

}  // namespace toolkit
