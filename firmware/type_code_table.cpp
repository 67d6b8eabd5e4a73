// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/type_code_table.h"

#include <algorithm>
#include <cstring>

namespace zentor::firmware {

// Families 0..3 are the 512 KiB generations, whose codes sit at different offsets; from
// family 4 on every code sits at 0x8004. Family 1 repeats family 0's code, so a drive
// block can never be taken for family 1: row 0 always wins.
const TypeCodeRow TypeCodeTable[] = {
    {0, "KXR", 0x4, 0},      {0, "KXQ", 0x4, 0},
    {1, "KXR", 0x7FF04, 0},  {3, "KXS", 0x20004, 0},
    {2, "KXDV", 0x8004, 0},  {4, "KXR40", 0x8004, 0},
    {4, "KXR41", 0x8004, 0}, {5, "KXR42", 0x8004, 1},
    {5, "KXR43", 0x8004, 1}, {5, "KXR44", 0x8004, 1},
    {5, "KXR45", 0x8004, 1}, {5, "KXR46", 0x8004, 1},
    {5, "KXR47", 0x8004, 1}, {5, "KXR48", 0x8004, 1},
    {5, "KXR49", 0x8004, 1}, {6, "KXR60", 0x8004, 1},
    {6, "KXR61", 0x8004, 1}, {6, "KXR62", 0x8004, 1},
    {6, "KXR63", 0x8004, 1}, {6, "KXR64", 0x8004, 1},
    {6, "KXR65", 0x8004, 1}, {6, "KXR66", 0x8004, 1},
    {6, "KXR67", 0x8004, 1}, {6, "KXR68", 0x8004, 1},
    {6, "KXR69", 0x8004, 1}, {7, "KXR70", 0x8004, 1},
    {7, "KXR71", 0x8004, 1}, {7, "KXR72", 0x8004, 1},
    {7, "KXR73", 0x8004, 1}, {7, "KXR74", 0x8004, 1},
    {7, "KXR75", 0x8004, 1}, {7, "KXR76", 0x8004, 1},
    {7, "KXR77", 0x8004, 1}, {7, "KXR78", 0x8004, 1},
    {7, "KXR79", 0x8004, 1}, {8, "KXR80", 0x8004, 1},
    {8, "KXR81", 0x8004, 1}, {8, "KXR82", 0x8004, 1},
    {8, "KXR83", 0x8004, 1}, {8, "KXR84", 0x8004, 1},
    {8, "KXR85", 0x8004, 1}, {8, "KXR86", 0x8004, 1},
    {8, "KXR87", 0x8004, 1}, {8, "KXR88", 0x8004, 1},
    {8, "KXR89", 0x8004, 1}, {kTerminatorFamily, nullptr, 0, 0},
};

int TypeCodeRowCount() {
  int count = 0;
  while (TypeCodeTable[count].family != kTerminatorFamily)
    ++count;
  return count;
}

bool FileHoldsCode(const TypeCodeRow& row, std::span<const std::uint8_t> bytes) {
  const std::size_t length = std::strlen(row.code);
  if (row.codeOffset > bytes.size() || bytes.size() - row.codeOffset < length) return false;
  return std::equal(row.code, row.code + length, bytes.begin() + row.codeOffset,
                    [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

bool BlockAgreesWithCode(const TypeCodeRow& row, std::span<const std::uint8_t> block) {
  // strncmp(code, block, 4), with the block's end read as NUL.
  for (std::size_t i = 0; i < 4; ++i) {
    const auto c = static_cast<std::uint8_t>(row.code[i]);
    const std::uint8_t b = i < block.size() ? block[i] : 0;
    if (c != b) return false;
    if (c == 0) return true;
  }
  return true;
}

int FindBlockCodeRow(std::span<const std::uint8_t> block) {
  for (int row = 0; TypeCodeTable[row].family != kTerminatorFamily; ++row) {
    if (BlockAgreesWithCode(TypeCodeTable[row], block)) return row;
  }
  return -1;
}

PromotedFamily PromoteDriveFamily(int family, std::span<const std::uint8_t> block) {
  if (family == 4 && block.size() > 4 && block[4] >= '2') return {5, true};
  return {family, false};
}

int PlainWindowOffset(int fileFamily) {
  for (const TypeCodeRow* row = TypeCodeTable; row->family != kTerminatorFamily; ++row) {
    if (row->family == fileFamily) {
      return row->scrambled != 0 ? static_cast<int>(row->codeOffset) : -1;
    }
  }
  return -1;
}

}  // namespace zentor::firmware
