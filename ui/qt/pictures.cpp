// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/qt/pictures.h"

#include "resources/pictures.h"
#include "resources/pictures/app_icon_16.xpm"
#include "resources/pictures/app_icon_32.xpm"
#include "resources/pictures/logo.xpm"

namespace zentor::ui::qt {

QIcon IconResource(int resource) {
  QIcon icon;
  if (resource != resources::kAppIconResource) return icon;
  icon.addPixmap(QPixmap(app_icon_32_xpm));
  icon.addPixmap(QPixmap(app_icon_16_xpm));
  return icon;
}

QPixmap BitmapResource(int resource) {
  if (resource == resources::kLogoBitmapResource) return QPixmap(logo_xpm);
  return {};
}

}  // namespace zentor::ui::qt
