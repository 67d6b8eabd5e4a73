// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/win32/pictures.h"

#include <cstring>

#include "resources/pictures.h"
#include "resources/pictures/app_icon_16.xpm"
#include "resources/pictures/app_icon_32.xpm"
#include "resources/pictures/logo.xpm"
#include "ui/win32/xpm_pixels.h"

namespace zentor::ui::win32 {
namespace {

HBITMAP DibOf(const Pixels& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) std::memcpy(bits, pixels.argb.data(), pixels.argb.size() * sizeof(std::uint32_t));
  return bitmap;
}

}  // namespace

HICON IconResource(int resource, int size) {
  if (resource != resources::kAppIconResource) return nullptr;
  const Pixels pixels = PixelsOfXpm(size <= 16 ? app_icon_16_xpm : app_icon_32_xpm);
  // The colour bitmap carries the transparency in its alpha; the mask is still required.
  HBITMAP colour = DibOf(pixels);
  HBITMAP mask = CreateBitmap(pixels.width, pixels.height, 1, 1, nullptr);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}

HBITMAP BitmapResource(int resource) {
  if (resource != resources::kLogoBitmapResource) return nullptr;
  return DibOf(PixelsOfXpm(logo_xpm));
}

}  // namespace zentor::ui::win32
