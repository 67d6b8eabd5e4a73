// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace zentor::scsi {

// One supported product identification: 16 characters, then a NUL. A record whose first
// byte is NUL ends the table.
struct ModelRecord {
  char productId[17];
};

extern const ModelRecord ModelTable[];

// True when the 16 bytes equal a record's 16 characters exactly: case and trailing blanks
// count. The walk runs from the first record to the terminator.
bool IsSupportedModel(std::span<const std::uint8_t, 16> productId,
                      const ModelRecord* table = ModelTable);

}  // namespace zentor::scsi
