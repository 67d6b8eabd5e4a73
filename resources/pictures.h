// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

namespace zentor::resources {

// The program's pictures by resource id. The pixels are in resources/pictures/ as XPM (16
// colours); only the window system's view loads them.
inline constexpr int kAppIconResource = 128;  // 32 x 32 and 16 x 16
inline constexpr int kLogoBitmapResource = 136;

// The logo's size in pixels: the picture control takes it.
inline constexpr int kLogoWidth = 111;
inline constexpr int kLogoHeight = 28;

}  // namespace zentor::resources
