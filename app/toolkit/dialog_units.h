// Dialog units: template positions and sizes are in quarters of the dialog
// font's average character width and eighths of its height.
#pragma once

struct BaseUnits {
  int x;  // average character width in pixels
  int y;  // character height in pixels
};

// a * b / c rounded to the nearest integer, halves away from zero; 0 when c is 0.
int MulDiv(int a, int b, int c);

// The base units of a font, from the width in pixels of the 52 letters
// "A".."Z" "a".."z" written in a row and the font's height: the average
// width is rounded to the nearest pixel.
BaseUnits BaseUnitsFromFont(int alphabetWidth, int height);

// Horizontal and vertical dialog units to pixels.
inline int DialogXToPixels(int x, BaseUnits base) { return MulDiv(x, base.x, 4); }
inline int DialogYToPixels(int y, BaseUnits base) { return MulDiv(y, base.y, 8); }
