// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

namespace zentor::ui::qt {

// An icon resource by id, with all its sizes (the application icon: 32 x 32 and
// 16 x 16); a null icon for an id the program does not have.
QIcon IconResource(int resource);
// A bitmap resource by id; a null pixmap for an id the program does not have.
QPixmap BitmapResource(int resource);

}  // namespace zentor::ui::qt
