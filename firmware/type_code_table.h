// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace zentor::firmware {

// A family number marks the end of both product tables.
inline constexpr int kTerminatorFamily = -1;

// Families by their stored form: 5 uses the additive scheme, 6 and up the packed form, and
// 7 alone may also be flashed from a plain image.
inline constexpr int kAdditiveFamily = 5;
inline constexpr int kFirstPackedFamily = 6;
inline constexpr int kPlainOrPackedFamily = 7;

// One firmware type: the code an image carries (3 to 5 characters; 4-character stems plus
// a digit tell the newer families' variants apart), the image offset of its 6-byte type
// code, and whether images of the type are stored scrambled, which is also what makes
// them acceptable for an update.
struct TypeCodeRow {
  int family;
  const char* code;
  std::uint32_t codeOffset;
  std::uint32_t scrambled;
};

// 45 rows and a terminator; walked in order, the first match wins.
extern const TypeCodeRow TypeCodeTable[];

// Number of rows before the terminator.
int TypeCodeRowCount();

// File side: the bytes hold exactly the row's code, all of its characters, at codeOffset.
// Bytes beyond the end of `bytes` count as a mismatch.
bool FileHoldsCode(const TypeCodeRow& row, std::span<const std::uint8_t> bytes);

// Drive side: the row's code agrees with the start of an identification block when both
// agree as C strings over at most 4 characters. A 3-character code therefore needs a NUL
// after it in the block, and the fifth character of a longer code is never compared.
bool BlockAgreesWithCode(const TypeCodeRow& row, std::span<const std::uint8_t> block);

// Index of the first row whose code agrees with the block, or -1.
int FindBlockCodeRow(std::span<const std::uint8_t> block);

// The drive's family after the code match. Drives of the newer variant report the stem of
// family 4 with a fifth character of '2' or above (compared unsigned); they are family 5
// and need the loader bit in the flash start.
struct PromotedFamily {
  int family;
  bool forceLoaderUpdate;
};
PromotedFamily PromoteDriveFamily(int family, std::span<const std::uint8_t> block);

// Image offset of the bytes the family-5 scheme leaves unscrambled: the codeOffset of the
// first row of `fileFamily` when that row is scrambled, else -1.
int PlainWindowOffset(int fileFamily);

}  // namespace zentor::firmware
