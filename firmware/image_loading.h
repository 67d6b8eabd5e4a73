// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "firmware/firmware_image.h"
#include "platform/file_system.h"

namespace zentor::firmware {

struct ImageLoad {
  bool loaded = false;
  // Why the file could not be opened (the caller tells the user); kNoError for every other
  // outcome.
  platform::FileErrorCause openCause = platform::kNoError;
  // The file loaded, but its image is not the one selected and checked against the drive
  // (replaced since, or stored under a plain name): the caller tells the user.
  bool notTheSelectedImage = false;
};

// Reads the selected file into image.imageBuffer and turns it into the plain image:
//   - only a file whose row is scrambled is loadable (families 5..8); no row is not;
//   - an empty file, or one longer than an image, is refused;
//   - a ".vrl" file (the extension is all that follows the FIRST '.') is unscrambled for the
//     drive's family; a ".bin" file is taken as it is, for family 7 only;
//   - the buffer starts as erased flash (0xFF), so a short plain file leaves the rest so;
//   - the plain image must carry the identity the fields hold (ImageCarriesIdentity): the
//     file is read again at Start and may no longer be the file that was recognised, and a
//     stored file under a ".bin" name would otherwise go out in its stored form. Such a
//     file is refused rather than loaded some other way: its name and its bytes disagree.
// The buffer is replaced once the file is open and its length acceptable, even when the
// load then fails.
ImageLoad LoadImageFile(FirmwareImage& image, platform::FileSystem& files, const std::string& name,
                        int driveFamily);

// The text after the first '.', or the whole name when it has none.
std::string_view FileExtension(std::string_view name);

}  // namespace zentor::firmware
