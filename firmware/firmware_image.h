// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "firmware/image_layout.h"

namespace zentor::firmware {

// The identification header: a 6-byte type code, then a 30-character text whose
// characters 0..7 are the short id and 9..24 the long id.
inline constexpr std::size_t kTypeCodeLength = 6;
inline constexpr std::size_t kIdentTextLength = 30;
inline constexpr std::size_t kShortIdOffset = 0;
inline constexpr std::size_t kShortIdLength = 8;
inline constexpr std::size_t kLongIdOffset = 9;
inline constexpr std::size_t kLongIdLength = 16;
static_assert(kTypeCodeLength + kIdentTextLength == kIdentificationHeaderSize);

// Fixed-width identity fields with their terminating NUL.
using TypeCodeField = std::array<char, kTypeCodeLength + 1>;
using ShortIdField = std::array<char, kShortIdLength + 1>;
using LongIdField = std::array<char, kLongIdLength + 1>;

// fileTypeIndex before any file matched a row, and after a selection that matched none.
inline constexpr int kNoTypeCodeRow = -1;
// fileFamily in the same cases.
inline constexpr int kNoFileFamily = -1;

// The working image and the identity of the selected firmware file. The identity fields
// are fixed-width and NUL-terminated, as the drive's counterparts they are compared with.
struct FirmwareImage {
  // Empty until the first load; then the plain image the drive receives.
  ImageBytes imageBuffer;
  TypeCodeField fileTypeCode{};
  // 30 characters, every byte outside 0x20..0x7F shown as a blank.
  std::string fileIdentText;
  ShortIdField fileShortId{};  // characters 0..7 of fileIdentText
  LongIdField fileLongId{};    // characters 9..24 of fileIdentText
  int fileFamily = kNoFileFamily;
  int fileTypeIndex = kNoTypeCodeRow;
};

}  // namespace zentor::firmware
