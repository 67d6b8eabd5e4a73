// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "firmware/image_layout.h"

namespace zentor::firmware {

// Which TypeCodeTable row a firmware file belongs to, judged from its bytes alone (the
// extension plays no part). Rows are tried in table order and the first that passes wins:
//   families 0..5  the code at codeOffset of the file as stored (a family-5 file keeps its
//                  identification window plain);
//   family 7       as stored first (a plain image), then in the unpacked image;
//   families 6, 8  only in the unpacked image.
// The file is unpacked at most once, whatever the number of rows tried.
struct FileRecognition {
  int typeCodeRow;
  bool fromUnpackedImage;
  // The 36 bytes from the row's codeOffset of the bytes that passed: type code, then the
  // identification text. Bytes the file lacks are NUL.
  std::array<std::uint8_t, kIdentificationHeaderSize> header;
};

// Nothing when no row passes. A file longer than 1 MiB belongs to no row: no image is that
// long, and nothing past 1 MiB is ever read.
std::optional<FileRecognition> RecognizeFirmwareFile(std::span<const std::uint8_t> file);

// Reads up to into.size() bytes at an offset of the file: how many it read (0 at the end),
// -1 on an error.
using FileReadAt = std::function<std::int64_t(std::uint64_t offset, std::span<std::uint8_t> into)>;

// The same judgement from a file of the given length that is read only where it is looked
// at: the code windows of the rows, and of a packed file its count, the few body bytes the
// identification comes from and its tail. The unpacked bytes are worked out from those, as
// unpacking would give them. A file whose reads fail matches no row.
std::optional<FileRecognition> RecognizeFirmwareFile(std::uint64_t length,
                                                     const FileReadAt& readAt);

}  // namespace zentor::firmware
