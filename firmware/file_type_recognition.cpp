// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/file_type_recognition.h"

#include <algorithm>
#include <cstring>

#include "firmware/packed_image.h"
#include "firmware/scrambling_keys.h"
#include "firmware/type_code_table.h"

namespace zentor::firmware {
namespace {

using Header = std::array<std::uint8_t, kIdentificationHeaderSize>;

bool TestsStoredBytes(int family) {
  return family < kFirstPackedFamily || family == kPlainOrPackedFamily;
}

bool TestsUnpackedImage(int family) {
  return family >= kFirstPackedFamily;
}

// The bytes recognition looks at, read where they lie and nowhere else: a file of a
// megabyte is judged from a few dozen of its bytes.
class Reader {
 public:
  Reader(std::uint64_t length, const FileReadAt& readAt) : length_(length), readAt_(readAt) {}

  std::uint64_t length() const { return length_; }
  bool failed() const { return failed_; }

  // Up to n bytes from offset into `into`: how many the file has there. A failed read
  // counts as none, and marks the file as unreadable.
  std::size_t Read(std::uint64_t offset, std::uint8_t* into, std::size_t n) {
    std::size_t done = 0;
    for (; done < n && offset + done < length_ && !failed_; ++done) {
      const std::uint64_t at = offset + done;
      if (at < chunkStart_ || at >= chunkStart_ + chunkLength_) Fetch(at);
      if (at >= chunkStart_ + chunkLength_) break;
      into[done] = chunk_[at - chunkStart_];
    }
    return failed_ ? 0 : done;
  }

 private:
  // The rows look at a handful of places; each is fetched in one read of its own chunk.
  static constexpr std::size_t kChunk = 256;

  void Fetch(std::uint64_t at) {
    chunkStart_ = at / kChunk * kChunk;
    chunkLength_ = 0;
    while (chunkLength_ < kChunk && chunkStart_ + chunkLength_ < length_) {
      const std::int64_t got =
          readAt_(chunkStart_ + chunkLength_, std::span(chunk_).subspan(chunkLength_));
      if (got < 0) failed_ = true;
      if (got <= 0) return;
      chunkLength_ += static_cast<std::size_t>(got);
    }
  }

  std::uint64_t length_;
  const FileReadAt& readAt_;
  bool failed_ = false;
  std::array<std::uint8_t, kChunk> chunk_{};
  std::uint64_t chunkStart_ = 0;
  std::size_t chunkLength_ = 0;
};

// The file's own bytes at the row's offset, NUL where it has none; `available` of them are
// really there.
Header StoredWindow(Reader& file, std::uint32_t offset, std::size_t& available) {
  Header window{};
  available = file.Read(offset, window.data(), window.size());
  return window;
}

bool WindowHoldsCode(const TypeCodeRow& row, const Header& window, std::size_t available) {
  const std::size_t length = std::strlen(row.code);
  return available >= length && std::memcmp(window.data(), row.code, length) == 0;
}

// The packed form as far as unpacking it needs to know: the body's length in blocks, or
// nothing when the file cannot be a packed image (the same refusals as UnpackImage).
std::optional<std::size_t> PackedBodyBlocks(Reader& file) {
  if (file.length() < kMinPackedLength) return std::nullopt;
  std::uint8_t count[4];
  if (file.Read(kPackedCountOffset, count, 4) != 4) return std::nullopt;
  std::uint32_t rawCount = 0;
  for (std::size_t i = 0; i < 4; ++i)
    rawCount |= static_cast<std::uint32_t>(count[i]) << (8 * i);
  if (rawCount > kMaxTrailingCount) return std::nullopt;
  const std::size_t blocks = BodyBlocksFor(rawCount);
  if (file.length() < kMinPackedLength + kKeyBlockSize * blocks) return std::nullopt;
  return blocks;
}

// Bytes of the unpacked image from `offset` on, worked out from the packed bytes they come
// from (the head and body less their key, 0xFF where nothing is stored, the plain tail),
// exactly as UnpackImage would leave them; NUL past the image's end.
Header UnpackedWindow(Reader& file, std::size_t blocks, std::uint32_t offset) {
  Header window{};
  const std::size_t bodyEnd = kImageBodyBegin + kKeyBlockSize * blocks;
  for (std::size_t i = 0; i < window.size(); ++i) {
    const std::size_t x = offset + i;
    if (x >= kImageSize) break;
    std::uint8_t stored = 0;
    if (x >= kImageTailBegin) {
      file.Read(file.length() - kTailSize + (x - kImageTailBegin), &stored, 1);
      window[i] = stored;
    } else if (x < kImageHoleBegin) {
      file.Read(x, &stored, 1);
      window[i] =
          static_cast<std::uint8_t>(stored - BlockKey[(x / kKeyBlockSize) % 4][x % kKeyBlockSize]);
    } else if (x >= kImageBodyBegin && x < bodyEnd) {
      const std::size_t at = x - kImageBodyBegin;
      file.Read(kPackedBodyOffset + at, &stored, 1);
      window[i] = static_cast<std::uint8_t>(stored -
                                            BlockKey[(at / kKeyBlockSize) % 4][at % kKeyBlockSize]);
    } else {
      window[i] = 0xFF;
    }
  }
  return window;
}

}  // namespace

std::optional<FileRecognition> RecognizeFirmwareFile(std::uint64_t length,
                                                     const FileReadAt& readAt) {
  if (length > kImageSize) return std::nullopt;
  Reader file(length, readAt);
  std::optional<std::size_t> blocks;
  bool packedTried = false;
  for (int row = 0; TypeCodeTable[row].family != kTerminatorFamily; ++row) {
    const TypeCodeRow& entry = TypeCodeTable[row];
    if (TestsStoredBytes(entry.family)) {
      std::size_t available = 0;
      const Header window = StoredWindow(file, entry.codeOffset, available);
      if (file.failed()) return std::nullopt;
      if (WindowHoldsCode(entry, window, available)) return FileRecognition{row, false, window};
    }
    if (!TestsUnpackedImage(entry.family)) continue;
    if (!packedTried) {
      blocks = PackedBodyBlocks(file);
      packedTried = true;
    }
    if (!blocks) continue;
    const Header window = UnpackedWindow(file, *blocks, entry.codeOffset);
    if (file.failed()) return std::nullopt;
    if (WindowHoldsCode(entry, window, window.size())) return FileRecognition{row, true, window};
  }
  return std::nullopt;
}

std::optional<FileRecognition> RecognizeFirmwareFile(std::span<const std::uint8_t> file) {
  const FileReadAt readAt = [file](std::uint64_t offset, std::span<std::uint8_t> into) {
    const std::size_t n = std::min<std::size_t>(into.size(), file.size() - offset);
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), n, into.begin());
    return static_cast<std::int64_t>(n);
  };
  return RecognizeFirmwareFile(file.size(), readAt);
}

}  // namespace zentor::firmware
