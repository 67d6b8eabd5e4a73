// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "firmware/file_type_recognition.h"
#include "firmware/firmware_image.h"

namespace zentor::firmware {

// Takes the whole identity of a recognised file: its row, family, type code as it stands,
// and the identification text with its short and long id.
void TakeIdentity(FirmwareImage& image, const FileRecognition& recognition);

// Forgets the identity, so that nothing of an earlier file can be compared or loaded under
// the name of one that was not recognised.
void ClearIdentity(FirmwareImage& image);

// Whether the plain image in imageBuffer is the image of the file whose identity the
// fields hold: the row's code at the row's codeOffset, as recognition found it, and the
// same type code and identification text (short and long id among it) there. A file
// replaced since it was selected, or a stored file loaded as a plain one, fails.
bool ImageCarriesIdentity(const FirmwareImage& image);

// Whether the row at a fileTypeIndex stores its images scrambled. No row is not scrambled.
bool RowIsScrambled(int typeIndex);

}  // namespace zentor::firmware
