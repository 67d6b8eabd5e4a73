#pragma once

#include <cstddef>

#include "firmware/file_type_recognition.h"
#include "firmware/firmware_image.h"

namespace zentor::firmware {

inline constexpr std::size_t kTypeCodeLength = 6;
inline constexpr std::size_t kIdentTextLength = 30;
inline constexpr std::size_t kShortIdOffset = 0;  // within the identification text
inline constexpr std::size_t kShortIdLength = 8;
inline constexpr std::size_t kLongIdOffset = 9;
inline constexpr std::size_t kLongIdLength = 16;

// Takes the whole identity of a recognised file: its row, family, type code as it stands,
// and the identification text with its short and long id.
void TakeIdentity(FirmwareImage& image, const FileRecognition& recognition);

// Forgets the identity, so that nothing of an earlier file can be compared or loaded under
// the name of one that was not recognised.
void ClearIdentity(FirmwareImage& image);

// Whether the row at a fileTypeIndex stores its images scrambled. No row is not scrambled.
bool RowIsScrambled(int typeIndex);

}  // namespace zentor::firmware
