// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/loader_table.h"

#include <cstring>

#include "firmware/type_code_table.h"

namespace zentor::firmware {

const LoaderRow LoaderTable[] = {
    {"KX-LOADER A0    ", 0, 0x4},     {"KX-LOADER A1    ", 0, 0x4},
    {"KX-LOADER B2    ", 2, 0x8004},  {"KX-LOADER C3    ", 3, 0x20004},
    {"KX-LOADER D1    ", 1, 0x7C004}, {"KX-LOADER E4    ", 4, 0x8004},
    {"KX-LOADER E5    ", 5, 0x8004},  {"KX-LOADER F6    ", 6, 0x8004},
    {"KX-LOADER G7    ", 7, 0x8004},  {"KX-LOADER G7    ", 8, 0x8004},
    {"KX-LOADER H8    ", 8, 0x8004},  {nullptr, kTerminatorFamily, 0},
};

int FindLoaderRow(std::span<const std::uint8_t, 16> productId, int fromRow) {
  if (fromRow < 0) fromRow = 0;
  for (int row = 0; LoaderTable[row].family != kTerminatorFamily; ++row) {
    if (row < fromRow) continue;
    if (std::memcmp(LoaderTable[row].loaderId, productId.data(), productId.size()) == 0) {
      return row;
    }
  }
  return -1;
}

}  // namespace zentor::firmware
