// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/sample_firmware.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "firmware/file_identity.h"
#include "firmware/image_scrambling.h"
#include "firmware/type_code_table.h"

namespace zentor::firmware {

std::string SampleIdentText(int typeCodeRow) {
  const std::string code = TypeCodeTable[typeCodeRow].code;
  char text[kIdentTextLength + 1];
  std::snprintf(text, sizeof text, "%-8.8s %-16.16s%-5.5s", ("ZT-" + code).c_str(),
                ("KX4410B " + code).c_str(), "8.515");
  return text;
}

ImageBytes MakeSampleImage(int typeCodeRow, std::uint32_t seed) {
  return MakeSampleImage(typeCodeRow, seed, SampleIdentText(typeCodeRow));
}

ImageBytes MakeSampleImage(int typeCodeRow, std::uint32_t seed, std::string_view identText) {
  const TypeCodeRow& row = TypeCodeTable[typeCodeRow];
  ImageBytes image(ImageSizeOfFamily(row.family));
  std::mt19937 random(seed);
  std::ranges::generate(image, [&] { return static_cast<std::uint8_t>(random()); });
  std::fill(image.begin() + kImageHoleBegin, image.begin() + kImageBodyBegin, 0xFF);

  std::string header(row.code);
  header.resize(kTypeCodeLength, ' ');
  header.append(identText.substr(0, kIdentTextLength));
  header.resize(kIdentificationHeaderSize, ' ');
  std::ranges::copy(header, image.begin() + row.codeOffset);
  return image;
}

std::optional<ImageBytes> SampleFileBytes(int typeCodeRow, const ImageBytes& image) {
  const TypeCodeRow& row = TypeCodeTable[typeCodeRow];
  if (!row.scrambled) return image;
  ImageBytes stored = image;
  std::uint32_t length = static_cast<std::uint32_t>(stored.size());
  if (!ScrambleImage(stored, length, row.family, row.family)) return std::nullopt;
  stored.resize(length);
  return stored;
}

}  // namespace zentor::firmware
