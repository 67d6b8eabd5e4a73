// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "firmware/image_layout.h"

namespace zentor::firmware {

// The packed stored form of families 6..8:
//   head   16 blocks of 1024: image 0x0000..0x3FFF plus BlockKey[n % 4]
//   count  C, 32-bit little-endian: how many 0xFF bytes were cut before image 0xFFFFC
//   body   B blocks of 1024 from image 0x8000 on, plus BlockKey[n % 4], n again from 0;
//          B = ceil((1015804 - C) / 1024)
//   tail   image 0xFFFFC..0xFFFFF, plain
// Image 0x4000..0x7FFF is not stored and must be all 0xFF; so are the bytes the body leaves
// out. Each operation returns a fresh buffer and leaves its input alone.

// How many body blocks a packed file holds for its trailing count (at most kMaxTrailingCount).
constexpr std::size_t BodyBlocksFor(std::uint32_t trailingCount) {
  return (kMaxTrailingCount - trailingCount + kKeyBlockSize - 1) / kKeyBlockSize;
}

// The packed bytes (their length is 16392 + 1024 x B), or nothing when the image is not
// 1 MiB or a byte in 0x4000..0x7FFF is not 0xFF. The count never reaches into the image
// below 0x8000, so an image that is 0xFF from there to 0xFFFFB packs with an empty body.
std::optional<ImageBytes> PackImage(std::span<const std::uint8_t> image);

// The plain 1 MiB image, or nothing when the stored bytes cannot be a packed image: shorter
// than head, count and tail, a count outside 0..1015804, or too short for the body the
// count calls for. Longer stored data is accepted; its last 4 bytes are the tail.
std::optional<ImageBytes> UnpackImage(std::span<const std::uint8_t> stored);

// The same two into a buffer of the caller's, which may be reused from call to call: every
// byte of the result is written once, and nothing is allocated. PackImageInto needs room for
// kMaxPackedLength bytes and returns the packed length; UnpackImageInto fills all kImageSize
// bytes of `image` and returns false (leaving it undefined) where UnpackImage gives nothing.
std::optional<std::size_t> PackImageInto(std::span<const std::uint8_t> image,
                                         std::span<std::uint8_t, kMaxPackedLength> packed);
bool UnpackImageInto(std::span<const std::uint8_t> stored,
                     std::span<std::uint8_t, kImageSize> image);

}  // namespace zentor::firmware
