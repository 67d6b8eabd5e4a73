// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary bytes as a firmware file. A recognised file really carries its row's code at
// the head of what recognition read, only the packed families are read unpacked, and what
// was read unpacked is what UnpackImage gives.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "firmware/file_type_recognition.h"
#include "firmware/packed_image.h"
#include "firmware/type_code_table.h"

using namespace zentor::firmware;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto match = RecognizeFirmwareFile({data, size});
  if (!match) return 0;
  if (match->typeCodeRow < 0 || match->typeCodeRow >= TypeCodeRowCount()) __builtin_trap();
  const TypeCodeRow& row = TypeCodeTable[match->typeCodeRow];
  if (std::memcmp(match->header.data(), row.code, std::strlen(row.code)) != 0) __builtin_trap();
  if (match->fromUnpackedImage && row.family < kFirstPackedFamily) __builtin_trap();
  // Recognition works the unpacked bytes out from a few packed ones: they must be the bytes
  // the whole unpacked image holds there.
  if (match->fromUnpackedImage) {
    const auto image = UnpackImage({data, size});
    if (!image || std::memcmp(match->header.data(), image->data() + row.codeOffset,
                              match->header.size()) != 0) {
      __builtin_trap();
    }
  }
  return 0;
}
