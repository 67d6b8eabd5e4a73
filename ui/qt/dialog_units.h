// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFont>
#include <QRect>

namespace zentor::ui::qt {

// The dialog font's base units, the way dialog templates measure: x is the average width
// of the Latin letters, y the font's height. A dialog unit is a quarter of x across and an
// eighth of y down, so a dialog keeps its proportions in any font.
struct BaseUnits {
  int x = 0;
  int y = 0;
};

BaseUnits BaseUnitsOf(const QFont& font);

// Pixels of a rectangle given in dialog units, each value rounded to the nearest pixel.
QRect ToPixels(BaseUnits units, int x, int y, int width, int height);
QSize ToPixels(BaseUnits units, int width, int height);

}  // namespace zentor::ui::qt
