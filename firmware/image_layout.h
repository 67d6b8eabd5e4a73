// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentor::firmware {

// A firmware image as the drive holds it: 1 MiB of flash (512 KiB for the oldest families,
// whose images are never loaded for an update).
inline constexpr std::size_t kImageSize = 0x100000;
inline constexpr std::size_t kSmallImageSize = 0x80000;
// Families 0..3 have the small flash.
inline constexpr std::size_t ImageSizeOfFamily(int family) {
  return family < 4 ? kSmallImageSize : kImageSize;
}

// The 36 bytes from a type code on: the 6-byte code and the 30-character identification
// text. Stored files keep them readable so a file can be recognised without unscrambling.
inline constexpr std::size_t kIdentificationHeaderSize = 36;

// Layout of the packed form (families 6..8), offsets into the stored file unless named
// "image". The head holds image 0x0000..0x3FFF, image 0x4000..0x7FFF is a region the
// drive erases and is never stored, the body holds the image from 0x8000 on up to the
// trailing run of 0xFF, and the last four image bytes follow the body unscrambled.
inline constexpr std::size_t kKeyBlockSize = 1024;
inline constexpr std::size_t kPackedHeadSize = 0x4000;
inline constexpr std::size_t kImageHoleBegin = 0x4000;
inline constexpr std::size_t kImageBodyBegin = 0x8000;
inline constexpr std::size_t kImageTailBegin = 0xFFFFC;
inline constexpr std::size_t kTailSize = 4;
inline constexpr std::size_t kPackedCountOffset = 0x4000;
inline constexpr std::size_t kPackedBodyOffset = 0x4004;
// Bytes from image 0x8000 up to 0xFFFFB inclusive: the most a trailing count can cut.
inline constexpr std::uint32_t kMaxTrailingCount = kImageTailBegin - kImageBodyBegin;
inline constexpr std::size_t kMaxBodyBlocks =
    (kMaxTrailingCount + kKeyBlockSize - 1) / kKeyBlockSize;
// Head, count and tail: the packed length of an image with an empty body.
inline constexpr std::size_t kMinPackedLength = kPackedBodyOffset + kTailSize;
inline constexpr std::size_t kMaxPackedLength = kMinPackedLength + kKeyBlockSize * kMaxBodyBlocks;

static_assert(kMaxTrailingCount == 1015804);
static_assert(kMaxBodyBlocks == 992);
static_assert(kMinPackedLength == 16392);
static_assert(kMaxPackedLength == 1032200);

using ImageBytes = std::vector<std::uint8_t>;

}  // namespace zentor::firmware
