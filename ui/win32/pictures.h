// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <windows.h>

namespace zentor::ui::win32 {

// The program's icon (resource 128) in the size asked for (32 or 16 pixels), and its
// bitmaps (the logo, 136), made from the pictures compiled into the program. Null for an
// unknown resource. The caller owns what it gets.
HICON IconResource(int resource, int size);
HBITMAP BitmapResource(int resource);

}  // namespace zentor::ui::win32
