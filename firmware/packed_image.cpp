#include "firmware/packed_image.h"

#include <algorithm>
#include <cstring>

#include "firmware/scrambling_keys.h"

namespace zentor::firmware {
namespace {

enum class KeyDirection { Add, Subtract };

// out[n x 1024 + p] = in[n x 1024 + p] +/- BlockKey[n % 4][p], for `blocks` blocks. The
// inner loops are plain byte adds over one key table; input and output never overlap, and
// saying so (__restrict, understood by GCC and Clang) lets the compiler vectorise them.
//
// Where the bytes lie matters. The processor guesses whether a load depends on a store from
// the low 12 bits of their addresses alone; a load that seems to hit a store just made waits
// for it, and the loop slows by a third or more. Packing reads the body from image 0x8000
// and writes it at 0x4004, a few bytes ahead of the input in that sense, so walking forwards
// every load seemed to hit the store before it: the blocks are walked backwards, 32 bytes at
// a time, when the output runs just ahead of the input, as memmove does for the same reason.
// The key tables are read from a copy placed as the output is within a page, so their loads
// never seem to hit a store whichever way the walk goes, wherever the tables were linked.
// Both loops only add: unpacking adds the tables' negation (x - k and x + (256 - k) are the
// same byte). Each is built twice, and the loader picks the build for the processor the
// program runs on: with 32-byte vectors where it has them (AVX2), the add keeps pace with a
// memcpy, which uses them too; with the 16-byte ones every x86-64 has otherwise. `keys`
// holds the four tables one after the other.
[[gnu::target_clones("avx2", "default")]] void KeyForwards(const std::uint8_t* __restrict in,
                                                           std::uint8_t* __restrict out,
                                                           const std::uint8_t* __restrict keys,
                                                           std::size_t blocks) {
  for (std::size_t n = 0; n < blocks; ++n, in += kKeyBlockSize, out += kKeyBlockSize) {
    const std::uint8_t* const key = keys + n % BlockKey.size() * kKeyBlockSize;
    for (std::size_t p = 0; p < kKeyBlockSize; ++p)
      out[p] = static_cast<std::uint8_t>(in[p] + key[p]);
  }
}

// Backwards, 32 bytes at a time; the four tables repeat every 4096 bytes of the body.
[[gnu::target_clones("avx2", "default")]] void KeyBackwards(const std::uint8_t* __restrict in,
                                                            std::uint8_t* __restrict out,
                                                            const std::uint8_t* __restrict keys,
                                                            std::size_t blocks) {
  constexpr std::size_t kChunk = 32;
  constexpr std::size_t kRingMask = BlockKey.size() * kKeyBlockSize - 1;
  for (std::size_t at = blocks * kKeyBlockSize; at > 0;) {
    at -= kChunk;
    const std::uint8_t* const key = keys + (at & kRingMask);
    for (std::size_t p = 0; p < kChunk; ++p)
      out[at + p] = static_cast<std::uint8_t>(in[at + p] + key[p]);
  }
}

void ApplyBlockKeys(KeyDirection direction, const std::uint8_t* in, std::uint8_t* out,
                    std::size_t blocks) {
  constexpr std::size_t kPage = 4096;
  static_assert(sizeof(BlockKey) == kPage, "the four tables fill one page, with no gaps");
  const auto address = [](const void* at) { return reinterpret_cast<std::uintptr_t>(at); };
  std::uint8_t room[2 * kPage];
  std::uint8_t* const keys = room + ((address(out) - address(room)) & (kPage - 1));
  const std::uint8_t* const tables = BlockKey.data()->data();
  for (std::size_t i = 0; i < kPage; ++i)
    keys[i] = static_cast<std::uint8_t>(direction == KeyDirection::Add ? tables[i] : -tables[i]);

  const std::size_t lead = (address(out) - address(in)) & (kPage - 1);
  if (lead == 0 || lead > kPage / 2) {
    KeyForwards(in, out, keys, blocks);
  } else {
    KeyBackwards(in, out, keys, blocks);
  }
}

bool IsErased(std::uint8_t byte) {
  return byte == 0xFF;
}

// The hole is 16 KiB, checked on every pack: an AND over all of it, with no early exit,
// is a loop the compiler vectorises, where a byte-by-byte search would cost as much as a
// fifth of the whole pack.
bool AllErased(std::span<const std::uint8_t> bytes) {
  std::uint8_t all = 0xFF;
  for (const std::uint8_t byte : bytes)
    all &= byte;
  return IsErased(all);
}

}  // namespace

std::optional<std::size_t> PackImageInto(std::span<const std::uint8_t> image,
                                         std::span<std::uint8_t, kMaxPackedLength> packed) {
  if (image.size() != kImageSize) return std::nullopt;
  const auto hole = image.subspan(kImageHoleBegin, kImageBodyBegin - kImageHoleBegin);
  if (!AllErased(hole)) return std::nullopt;

  // The run of 0xFF that ends at 0xFFFFB, counted backwards but never below the body.
  const auto body = image.subspan(kImageBodyBegin, kMaxTrailingCount);
  const auto lastData = std::find_if_not(body.rbegin(), body.rend(), IsErased);
  const auto trailingCount = static_cast<std::uint32_t>(lastData - body.rbegin());
  const std::size_t blocks = BodyBlocksFor(trailingCount);
  const std::size_t length = kMinPackedLength + kKeyBlockSize * blocks;

  ApplyBlockKeys(KeyDirection::Add, image.data(), packed.data(), kPackedHeadSize / kKeyBlockSize);
  for (std::size_t i = 0; i < 4; ++i) {
    packed[kPackedCountOffset + i] = static_cast<std::uint8_t>(trailingCount >> (8 * i));
  }
  ApplyBlockKeys(KeyDirection::Add, image.data() + kImageBodyBegin,
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

  ApplyBlockKeys(KeyDirection::Subtract, stored.data(), image.data(),
                 kPackedHeadSize / kKeyBlockSize);
  std::fill(image.begin() + kImageHoleBegin, image.begin() + kImageBodyBegin, 0xFF);
  ApplyBlockKeys(KeyDirection::Subtract, stored.data() + kPackedBodyOffset,
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
