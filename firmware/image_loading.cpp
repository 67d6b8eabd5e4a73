// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/image_loading.h"

#include "firmware/file_identity.h"
#include "firmware/image_scrambling.h"
#include "firmware/type_code_table.h"
#include "platform/name_case.h"

namespace zentor::firmware {

std::string_view FileExtension(std::string_view name) {
  const std::size_t dot = name.find('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

ImageLoad LoadImageFile(FirmwareImage& image, platform::FileSystem& files, const std::string& name,
                        int driveFamily) {
  if (!RowIsScrambled(image.fileTypeIndex)) return {};
  const TypeCodeRow& row = TypeCodeTable[image.fileTypeIndex];

  platform::OpenResult opened = files.OpenForReading(name);
  if (!opened.file) return {false, opened.cause};

  const std::optional<std::uint64_t> length = opened.file->Length();
  if (!length || *length == 0 || *length > kImageSize) return {};

  image.imageBuffer.assign(kImageSize, 0xFF);
  const std::size_t expected = static_cast<std::size_t>(*length);
  const std::int64_t read =
      platform::ReadFully(*opened.file, std::span(image.imageBuffer).first(expected));
  opened.file.reset();
  if (read != static_cast<std::int64_t>(expected)) return {};

  const std::string_view extension = FileExtension(name);
  bool plain = false;
  if (platform::EqualIgnoringCase(extension, "vrl")) {
    plain = UnscrambleImage(image.imageBuffer, static_cast<int>(expected), driveFamily,
                            image.fileFamily);
  } else {
    plain = row.family == kPlainOrPackedFamily && platform::EqualIgnoringCase(extension, "bin");
  }
  if (!plain) return {};
  if (!ImageCarriesIdentity(image)) return {false, platform::kNoError, true};
  return {true};
}

}  // namespace zentor::firmware
