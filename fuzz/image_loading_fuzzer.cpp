// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary bytes as a firmware file, loaded under each kind of name for a drive of any
// family, whatever row recognition gave it. Loading either fails or gives a whole 1 MiB
// image; a plain file loads only for family 7 and then unchanged, with erased flash after it.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "firmware/file_type_recognition.h"
#include "firmware/image_loading.h"
#include "firmware/type_code_table.h"
#include "tests/firmware/memory_file_system.h"

using namespace zentor::firmware;

namespace {

// Names with each extension the loader tells apart, and two it must refuse.
const char* const kNames[] = {"f.vrl", "F.VRL", "f.bin", "f.BIN", "f.b.vrl", "f"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int driveFamily = data[0] % 9;
  const std::string name = kNames[data[1] % std::size(kNames)];
  const std::span<const std::uint8_t> file(data + 3, size - 3);

  FirmwareImage image;
  const auto recognised = RecognizeFirmwareFile(file);
  image.fileTypeIndex = recognised ? recognised->typeCodeRow : data[2] % TypeCodeRowCount();
  image.fileFamily = TypeCodeTable[image.fileTypeIndex].family;

  zentor::test_support::MemoryFileSystem files;
  files.Put(name, {file.begin(), file.end()});
  const ImageLoad load = LoadImageFile(image, files, name, driveFamily);
  if (load.openCause != zentor::platform::kNoError) __builtin_trap();
  if (!load.loaded) return 0;

  if (file.empty() || file.size() > kImageSize) __builtin_trap();
  if (image.imageBuffer.size() != kImageSize) __builtin_trap();
  if (name == "f.b.vrl" || name == "f") __builtin_trap();
  if (name == "f.bin" || name == "f.BIN") {
    if (image.fileFamily != kPlainOrPackedFamily) __builtin_trap();
    if (!std::equal(file.begin(), file.end(), image.imageBuffer.begin())) __builtin_trap();
    if (!std::all_of(image.imageBuffer.begin() + static_cast<std::ptrdiff_t>(file.size()),
                     image.imageBuffer.end(), [](std::uint8_t b) { return b == 0xFF; }))
      __builtin_trap();
  }
  return 0;
}
