// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace zentor::firmware {

// A product identification a drive reports (INQUIRY bytes 16..31) while its update loader
// runs, and the flash address of the block that starts with the drive's type code. The
// family is only a first guess; the type code in that block decides.
struct LoaderRow {
  const char* loaderId;
  int family;
  std::uint32_t idBlockAddress;
};

// 11 rows and a terminator (family -1). One loader id stands in two rows: a drive that
// reports it is tried under both.
extern const LoaderRow LoaderTable[];

// The first row at or after `fromRow` whose loader id equals the 16 bytes exactly (case
// and trailing blanks count), or -1 when the walk reaches the terminator.
int FindLoaderRow(std::span<const std::uint8_t, 16> productId, int fromRow = 0);

}  // namespace zentor::firmware
