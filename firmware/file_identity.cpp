// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/file_identity.h"

#include <algorithm>

#include "firmware/type_code_table.h"

namespace zentor::firmware {
namespace {

char Shown(std::uint8_t byte) {
  return byte >= 0x20 && byte <= 0x7F ? static_cast<char>(byte) : ' ';
}

template <std::size_t N>
void CopyText(std::array<char, N>& field, const std::string& text, std::size_t from) {
  field.fill('\0');
  std::copy_n(text.begin() + from, N - 1, field.begin());
}

}  // namespace

void TakeIdentity(FirmwareImage& image, const FileRecognition& recognition) {
  const auto& header = recognition.header;
  image.fileTypeCode.fill('\0');
  std::copy_n(header.begin(), kTypeCodeLength, image.fileTypeCode.begin());
  image.fileIdentText.clear();
  for (std::size_t at = kTypeCodeLength; at < kTypeCodeLength + kIdentTextLength; ++at) {
    image.fileIdentText += Shown(header[at]);
  }
  CopyText(image.fileShortId, image.fileIdentText, kShortIdOffset);
  // Taken for every family, so the long-id comparison never meets an earlier file's value.
  CopyText(image.fileLongId, image.fileIdentText, kLongIdOffset);
  image.fileTypeIndex = recognition.typeCodeRow;
  image.fileFamily = TypeCodeTable[recognition.typeCodeRow].family;
}

void ClearIdentity(FirmwareImage& image) {
  image.fileTypeCode.fill('\0');
  image.fileIdentText.clear();
  image.fileShortId.fill('\0');
  image.fileLongId.fill('\0');
  image.fileFamily = kNoFileFamily;
  image.fileTypeIndex = kNoTypeCodeRow;
}

bool ImageCarriesIdentity(const FirmwareImage& image) {
  if (image.fileTypeIndex < 0 || image.fileTypeIndex >= TypeCodeRowCount()) return false;
  const TypeCodeRow& row = TypeCodeTable[image.fileTypeIndex];
  if (image.imageBuffer.size() < row.codeOffset + kIdentificationHeaderSize ||
      !FileHoldsCode(row, image.imageBuffer)) {
    return false;
  }
  FileRecognition found{image.fileTypeIndex, false, {}};
  std::copy_n(image.imageBuffer.begin() + row.codeOffset, found.header.size(),
              found.header.begin());
  FirmwareImage carried;
  TakeIdentity(carried, found);
  return carried.fileTypeCode == image.fileTypeCode &&
         carried.fileIdentText == image.fileIdentText && carried.fileShortId == image.fileShortId &&
         carried.fileLongId == image.fileLongId;
}

bool RowIsScrambled(int typeIndex) {
  return typeIndex >= 0 && typeIndex < TypeCodeRowCount() &&
         TypeCodeTable[typeIndex].scrambled != 0;
}

}  // namespace zentor::firmware
