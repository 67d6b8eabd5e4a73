// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "firmware/image_layout.h"

namespace zentor::firmware {

// Firmware that looks like the real thing, made from the product tables: for the tests,
// the simulated drives and the demo. Content is pseudo-random (from `seed`), the region a
// drive erases (0x4000..0x7FFF) is 0xFF as in every real image, and at the row's codeOffset
// stands the identification header: the code padded with blanks to 6 bytes, then the
// 30-character identification text.
ImageBytes MakeSampleImage(int typeCodeRow, std::uint32_t seed);
ImageBytes MakeSampleImage(int typeCodeRow, std::uint32_t seed, std::string_view identText);

// The identification text the samples carry for a row: short id, a blank, long id, rest.
std::string SampleIdentText(int typeCodeRow);

// The image as a file: the stored form of its family for scrambled rows (what a ".vrl"
// holds), the plain image for the others (a ".bin"). Nothing when the image has no stored
// form (a packed family whose erased region is not all 0xFF).
std::optional<ImageBytes> SampleFileBytes(int typeCodeRow, const ImageBytes& image);

}  // namespace zentor::firmware
