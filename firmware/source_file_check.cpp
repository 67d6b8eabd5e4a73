#include "firmware/source_file_check.h"

#include "firmware/image_layout.h"

namespace zentor::firmware {

namespace {

// The file's bytes land in one buffer per thread, reused from file to file (a fresh one
// would be page-faulted in anew each time), read in as few reads as the file allows.
std::span<std::uint8_t> ReadBuffer() {
  thread_local ImageBytes buffer(kImageSize + 1);
  return buffer;
}

}  // namespace

SourceFileCheck CheckSourceFile(platform::FileSystem& files, const std::string& name) {
  platform::OpenResult opened = files.OpenForReading(name);
  if (!opened.file) return {SourceCheck::CannotOpen, {}};

  const std::span<std::uint8_t> buffer = ReadBuffer();
  const std::int64_t length = platform::ReadFully(*opened.file, buffer);
  if (length < 0) return {SourceCheck::NoRow, {}};

  const std::optional<FileRecognition> recognition =
      RecognizeFirmwareFile(buffer.first(static_cast<std::size_t>(length)));
  if (!recognition) return {SourceCheck::NoRow, {}};
  return {SourceCheck::Matched, *recognition};
}

}  // namespace zentor::firmware
