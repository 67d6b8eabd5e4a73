#pragma once

#include <array>
#include <string>

#include "firmware/image_layout.h"

namespace zentor::firmware {

// fileTypeIndex before any file matched a row, and after a selection that matched none.
inline constexpr int kNoTypeCodeRow = -1;
// fileFamily in the same cases.
inline constexpr int kNoFileFamily = -1;

// The working image and the identity of the selected firmware file. The identity fields
// are fixed-width and NUL-terminated, as the drive's counterparts they are compared with.
struct FirmwareImage {
  // Empty until the first load; then the plain image the drive receives.
  ImageBytes imageBuffer;
  std::array<char, 7> fileTypeCode{};
  // 30 characters, every byte outside 0x20..0x7F shown as a blank.
  std::string fileIdentText;
  std::array<char, 9> fileShortId{};  // characters 0..7 of fileIdentText
  std::array<char, 17> fileLongId{};  // characters 9..24 of fileIdentText
  int fileFamily = kNoFileFamily;
  int fileTypeIndex = kNoTypeCodeRow;
};

}  // namespace zentor::firmware
