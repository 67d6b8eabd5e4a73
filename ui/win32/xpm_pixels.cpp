// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/win32/xpm_pixels.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace zentor::ui::win32 {

// The pictures are the program's own, compiled in: their header and colour lines are known
// to be well formed, so only what they use is read (one character a pixel, "c" colours).
Pixels PixelsOfXpm(const char* const* xpm) {
  Pixels pixels;
  int colours = 0, charsPerPixel = 0;
  std::sscanf(xpm[0], "%d %d %d %d", &pixels.width, &pixels.height, &colours, &charsPerPixel);
  std::map<char, std::uint32_t> palette;
  for (int i = 1; i <= colours; ++i) {
    const char* colour = std::strstr(xpm[i] + 1, " c ") + 3;
    palette[xpm[i][0]] = *colour == '#' ? 0xFF000000u | std::strtoul(colour + 1, nullptr, 16) : 0;
  }
  pixels.argb.reserve(static_cast<std::size_t>(pixels.width) * pixels.height);
  for (int row = 0; row < pixels.height; ++row) {
    for (int column = 0; column < pixels.width; ++column) {
      pixels.argb.push_back(palette[xpm[1 + colours + row][column]]);
    }
  }
  return pixels;
}

}  // namespace zentor::ui::win32
