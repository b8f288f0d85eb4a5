// The dialog font and its base units.
#include "app/toolkit/qt/dialog_font.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyleFactory>
#include <algorithm>

namespace toolkit {

// "MS Sans Serif" is not on Linux. DejaVu Sans (scripts/install-deps installs it) stands
// in for any template font, 11 pixels for 8 points: at that size its average
// character is 7 pixels wide and 13 high, so every label and button text of
// the templates fits its box with a little room.
QFont DialogFont(const char* /*name*/, int pointSize) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, (pointSize * 11 + 4) / 8));
  return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return BaseUnitsFromFont(width, metrics.height());
}

void ApplyLook(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
  QApplication::setFont(DialogFont("MS Sans Serif", 8));
}

}  // namespace toolkit
