// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary bytes as a stored packed image. Whatever unpacks is a full image with the erased
// region intact, so it must pack again and unpack to exactly the same image.
#include <cstddef>
#include <cstdint>

#include "firmware/packed_image.h"

using namespace zentor::firmware;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto image = UnpackImage({data, size});
  if (!image) return 0;
  if (image->size() != kImageSize) __builtin_trap();
  const auto packed = PackImage(*image);
  if (!packed) __builtin_trap();
  const auto again = UnpackImage(*packed);
  if (!again || *again != *image) __builtin_trap();
  return 0;
}
