#include "firmware/packed_image.h"

#include <algorithm>
#include <cstring>

#include "firmware/scrambling_keys.h"

namespace zentor::firmware {
namespace {

enum class KeyDirection { Add, Subtract };

// out[n x 1024 + p] = in[n x 1024 + p] +/- BlockKey[n % 4][p], for `blocks` blocks. The
// inner loop is a plain byte add over one key table; input and output never overlap, and
// saying so (__restrict, understood by GCC and Clang) lets the compiler vectorise it.
template <KeyDirection direction>
inline void ApplyBlockKeysTo(const std::uint8_t* __restrict in, std::uint8_t* __restrict out,
                             std::size_t blocks) {
  for (std::size_t n = 0; n < blocks; ++n) {
    const BlockKeyTable& key = BlockKey[n % BlockKey.size()];
    for (std::size_t p = 0; p < kKeyBlockSize; ++p) {
      if constexpr (direction == KeyDirection::Add) {
        out[p] = static_cast<std::uint8_t>(in[p] + key[p]);
      } else {
        out[p] = static_cast<std::uint8_t>(in[p] - key[p]);
      }
    }
    in += kKeyBlockSize;
    out += kKeyBlockSize;
  }
}

// Built twice, and the loader picks the build for the processor the program runs on: with
// 32-byte vectors where it has them (AVX2), the add keeps pace with a memcpy, which uses
// them too; with the 16-byte ones every x86-64 has otherwise.
[[gnu::target_clones("avx2", "default")]] void AddBlockKeys(const std::uint8_t* in,
                                                            std::uint8_t* out, std::size_t blocks) {
  ApplyBlockKeysTo<KeyDirection::Add>(in, out, blocks);
}
[[gnu::target_clones("avx2", "default")]] void SubtractBlockKeys(const std::uint8_t* in,
                                                                 std::uint8_t* out,
                                                                 std::size_t blocks) {
  ApplyBlockKeysTo<KeyDirection::Subtract>(in, out, blocks);
}

template <KeyDirection direction>
void ApplyBlockKeys(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  if constexpr (direction == KeyDirection::Add) {
    AddBlockKeys(in, out, blocks);
  } else {
    SubtractBlockKeys(in, out, blocks);
  }
}

bool IsErased(std::uint8_t byte) {
  return byte == 0xFF;
}

}  // namespace

std::optional<std::size_t> PackImageInto(std::span<const std::uint8_t> image,
                                         std::span<std::uint8_t, kMaxPackedLength> packed) {
  if (image.size() != kImageSize) return std::nullopt;
  const auto hole = image.subspan(kImageHoleBegin, kImageBodyBegin - kImageHoleBegin);
  if (!std::all_of(hole.begin(), hole.end(), IsErased)) return std::nullopt;

  // The run of 0xFF that ends at 0xFFFFB, counted backwards but never below the body.
  const auto body = image.subspan(kImageBodyBegin, kMaxTrailingCount);
  const auto lastData = std::find_if_not(body.rbegin(), body.rend(), IsErased);
  const auto trailingCount = static_cast<std::uint32_t>(lastData - body.rbegin());
  const std::size_t blocks = BodyBlocksFor(trailingCount);
  const std::size_t length = kMinPackedLength + kKeyBlockSize * blocks;

  ApplyBlockKeys<KeyDirection::Add>(image.data(), packed.data(), kPackedHeadSize / kKeyBlockSize);
  for (std::size_t i = 0; i < 4; ++i) {
    packed[kPackedCountOffset + i] = static_cast<std::uint8_t>(trailingCount >> (8 * i));
  }
  ApplyBlockKeys<KeyDirection::Add>(image.data() + kImageBodyBegin,
                                    packed.data() + kPackedBodyOffset, blocks);
  std::copy_n(image.data() + kImageTailBegin, kTailSize, packed.data() + length - kTailSize);
  return length;
}

bool UnpackImageInto(std::span<const std::uint8_t> stored,
                     std::span<std::uint8_t, kImageSize> image) {
  if (stored.size() < kMinPackedLength) return false;
  std::uint32_t rawCount = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    rawCount |= static_cast<std::uint32_t>(stored[kPackedCountOffset + i]) << (8 * i);
  }
  // Stored as a signed value: a negative count reads as a huge unsigned one and is refused.
  if (rawCount > kMaxTrailingCount) return false;
  const std::size_t blocks = BodyBlocksFor(rawCount);
  if (stored.size() < kMinPackedLength + kKeyBlockSize * blocks) return false;

  ApplyBlockKeys<KeyDirection::Subtract>(stored.data(), image.data(),
                                         kPackedHeadSize / kKeyBlockSize);
  std::fill(image.begin() + kImageHoleBegin, image.begin() + kImageBodyBegin, 0xFF);
  ApplyBlockKeys<KeyDirection::Subtract>(stored.data() + kPackedBodyOffset,
                                         image.data() + kImageBodyBegin, blocks);
  // The cut run of 0xFF; the last body block may reach into it, and into the tail, which
  // the stored tail then overwrites.
  const std::size_t bodyEnd = std::min(kImageBodyBegin + kKeyBlockSize * blocks, kImageTailBegin);
  std::fill(image.begin() + static_cast<std::ptrdiff_t>(bodyEnd), image.begin() + kImageTailBegin,
            0xFF);
  // The tail is the end of the stored data, wherever the body ended.
  std::copy_n(stored.end() - kTailSize, kTailSize, image.data() + kImageTailBegin);
  return true;
}

std::optional<ImageBytes> PackImage(std::span<const std::uint8_t> image) {
  ImageBytes packed(kMaxPackedLength);
  const std::optional<std::size_t> length =
      PackImageInto(image, std::span<std::uint8_t, kMaxPackedLength>(packed));
  if (!length) return std::nullopt;
  packed.resize(*length);
  return packed;
}

std::optional<ImageBytes> UnpackImage(std::span<const std::uint8_t> stored) {
  ImageBytes image(kImageSize);
  if (!UnpackImageInto(stored, std::span<std::uint8_t, kImageSize>(image))) return std::nullopt;
  return image;
}

}  // namespace zentor::firmware
