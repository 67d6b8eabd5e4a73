// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/source_file_check.h"

namespace zentor::firmware {

// Only the bytes recognition looks at are read, a few hundred where they lie: a listing of
// many files then costs little more than opening them.
SourceFileCheck CheckSourceFile(platform::FileSystem& files, const std::string& name) {
  platform::OpenResult opened = files.OpenForReading(name);
  if (!opened.file) return {SourceCheck::CannotOpen, {}};
  const std::optional<std::uint64_t> length = opened.file->Length();
  if (!length) return {SourceCheck::NoRow, {}};
  platform::File& file = *opened.file;
  const FileReadAt readAt = [&file](std::uint64_t offset, std::span<std::uint8_t> into) {
    return file.ReadAt(offset, into);
  };
  const std::optional<FileRecognition> recognition = RecognizeFirmwareFile(*length, readAt);
  if (!recognition) return {SourceCheck::NoRow, {}};
  return {SourceCheck::Matched, *recognition};
}

}  // namespace zentor::firmware
