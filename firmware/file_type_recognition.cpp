#include "firmware/file_type_recognition.h"

#include <algorithm>

#include "firmware/packed_image.h"
#include "firmware/type_code_table.h"

namespace zentor::firmware {
namespace {

bool TestsStoredBytes(int family) {
  return family < kFirstPackedFamily || family == kPlainOrPackedFamily;
}

bool TestsUnpackedImage(int family) {
  return family >= kFirstPackedFamily;
}

FileRecognition Recognised(int row, bool unpacked, std::span<const std::uint8_t> bytes) {
  FileRecognition result{row, unpacked, {}};
  const std::size_t offset = TypeCodeTable[row].codeOffset;
  if (offset < bytes.size()) {
    const std::size_t available = std::min(bytes.size() - offset, result.header.size());
    std::copy_n(bytes.begin() + offset, available, result.header.begin());
  }
  return result;
}

// One image buffer for every file this thread recognises: a fresh megabyte per file would
// cost more in page faults than the unpacking itself.
std::span<std::uint8_t, kImageSize> UnpackBuffer() {
  thread_local ImageBytes buffer(kImageSize);
  return std::span<std::uint8_t, kImageSize>(buffer);
}

}  // namespace

std::optional<FileRecognition> RecognizeFirmwareFile(std::span<const std::uint8_t> file) {
  if (file.size() > kImageSize) return std::nullopt;
  const std::span<std::uint8_t, kImageSize> image = UnpackBuffer();
  bool unpacked = false;
  bool unpackTried = false;
  for (int row = 0; TypeCodeTable[row].family != kTerminatorFamily; ++row) {
    const TypeCodeRow& entry = TypeCodeTable[row];
    if (TestsStoredBytes(entry.family) && FileHoldsCode(entry, file)) {
      return Recognised(row, false, file);
    }
    if (!TestsUnpackedImage(entry.family)) continue;
    if (!unpackTried) {
      unpacked = UnpackImageInto(file, image);
      unpackTried = true;
    }
    if (unpacked && FileHoldsCode(entry, image)) return Recognised(row, true, image);
  }
  return std::nullopt;
}

}  // namespace zentor::firmware
