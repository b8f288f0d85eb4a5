// The font the dialogs are laid out in, and the look of the whole program.
#pragma once

#include <QFont>

#include "app/toolkit/dialog_units.h"

class QApplication;

namespace toolkit {

// The font that stands in for the template's dialog font, and its base units.
// Its size follows the desktop's general font: the template's 8 points are
// taken as meant for a desktop whose font is 9 points (the usual default),
// and grow and shrink with it.
QFont DialogFont(const char* name, int pointSize);
BaseUnits BaseUnitsOf(const QFont& font);

// Sets the desktop's general font size in pixels, which ApplyLook reads from
// Qt (12 until then: 9 points at 96 dots per inch). Tests set others.
void SetDesktopFontPixels(int pixels);

// The look the dialogs are laid out for: reads the desktop's font size, then
// sets the Fusion style and the dialog font. RunProgram applies it; tests
// that start their own QApplication call it.
void ApplyLook(QApplication& app);

}  // namespace toolkit
