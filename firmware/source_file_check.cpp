#include "firmware/source_file_check.h"

#include "firmware/image_layout.h"

namespace zentor::firmware {

SourceFileCheck CheckSourceFile(platform::FileSystem& files, const std::string& name) {
  platform::OpenResult opened = files.OpenForReading(name);
  if (!opened.file) return {SourceCheck::CannotOpen, {}};

  ImageBytes bytes(kImageSize + 1);
  const std::int64_t length = platform::ReadFully(*opened.file, bytes);
  if (length < 0) return {SourceCheck::NoRow, {}};
  bytes.resize(static_cast<std::size_t>(length));

  const std::optional<FileRecognition> recognition = RecognizeFirmwareFile(bytes);
  if (!recognition) return {SourceCheck::NoRow, {}};
  return {SourceCheck::Matched, *recognition};
}

}  // namespace zentor::firmware
