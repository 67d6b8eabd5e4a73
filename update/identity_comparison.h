// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string_view>

#include "firmware/firmware_image.h"
#include "update/update_state.h"

namespace zentor::update {

// Whether a typed password opens "Pass Type" for a file: its first eight characters equal
// the short id byte for byte, case-sensitive, untrimmed. A shorter text never matches, and
// a short id that no file has set (it holds a NUL) matches nothing.
bool PasswordMatches(std::string_view typed, const firmware::ShortIdField& shortId);

// Whether the identified drive may take the selected file, byte for byte over each field:
//   - same type code: short and long ids must agree too;
//   - type codes agreeing in their first 4 bytes only: the expert path, when "Pass Type"
//     is ticked (state exactly 1) and the first 8 bytes of the typed password equal the
//     file's short id (a shorter password never does); the drive's ids are not looked at;
//   - a blank drive (type code of six 0xFF bytes) takes any file;
//   - nothing else matches.
bool IdentitiesMatch(const UpdateState& drive, const firmware::FirmwareImage& file,
                     int passTypeState);

}  // namespace zentor::update
