// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "firmware/image_layout.h"

namespace zentor::firmware {

// Key data of the stored firmware forms. Stored files and backups interoperate only
// between builds with the same keys, so the values are fixed product data: the first 4352
// bytes of a xorshift generator, additive key first, then the four block keys.
using AdditiveKeyTable = std::array<std::uint8_t, 256>;
using BlockKeyTable = std::array<std::uint8_t, kKeyBlockSize>;

extern const AdditiveKeyTable AdditiveKey;
extern const std::array<BlockKeyTable, 4> BlockKey;

}  // namespace zentor::firmware
