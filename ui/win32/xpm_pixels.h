// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace zentor::ui::win32 {

// A picture of the program's own (resources/pictures, XPM with one character a pixel) as
// 32-bit pixels, top row first, each 0xAARRGGBB: what a top-down DIB section holds. "None"
// is transparent (alpha 0), every colour opaque.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};
Pixels PixelsOfXpm(const char* const* xpm);

}  // namespace zentor::ui::win32
