// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/qt/dialog_units.h"

#include <QFontMetrics>

namespace zentor::ui::qt {
namespace {

// a * b / c rounded to the nearest integer.
int ScaleRounded(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  return static_cast<int>((product + c / 2) / c);
}

}  // namespace

BaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters =
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(BaseUnits units, int x, int y, int width, int height) {
  return {ScaleRounded(x, units.x, 4), ScaleRounded(y, units.y, 8), ScaleRounded(width, units.x, 4),
          ScaleRounded(height, units.y, 8)};
}

QSize ToPixels(BaseUnits units, int width, int height) {
  return ToPixels(units, 0, 0, width, height).size();
}

}  // namespace zentor::ui::qt
