// The dialog font and its base units.
#include "app/toolkit/qt/dialog_font.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStyleFactory>
#include <algorithm>

namespace toolkit {

namespace {

int desktopPixels = 12;

}  // namespace

int DesktopFontPixels() { return desktopPixels; }
void SetDesktopFontPixels(int pixels) { desktopPixels = std::max(1, pixels); }

// "MS Shell Dlg" is not on Linux. DejaVu Sans (scripts/install-deps installs
// it) stands in for any template font. On a desktop of 12 pixels (9 points)
// the 8 points of the templates become 11 pixels, at which its average
// character is 7 pixels wide and 13 high; the dialog units grow with the
// font, so every text keeps its room at any size.
QFont DialogFont(const char* /*name*/, int pointSize) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, MulDiv(desktopPixels, pointSize, 9)));
  return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return BaseUnitsFromFont(width, metrics.height());
}

void ApplyLook(QApplication& app) {
  SetDesktopFontPixels(QFontInfo(QApplication::font()).pixelSize());
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
  QApplication::setFont(DialogFont("MS Shell Dlg", 8));
}

}  // namespace toolkit
