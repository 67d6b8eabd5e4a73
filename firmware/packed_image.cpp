// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/packed_image.h"

#include <algorithm>
#include <cstring>

#include "firmware/scrambling_keys.h"

namespace zentor::firmware {
namespace {

enum class KeyDirection { Add, Subtract };

constexpr std::size_t kChunk = 32;
constexpr std::size_t kRing = sizeof(BlockKey);
static_assert(kRing == 4096, "the four tables fill one page, with no gaps");

std::uintptr_t Address(const void* at) {
  return reinterpret_cast<std::uintptr_t>(at);
}

#ifdef ZENTOR_HAS_TARGET_CLONES
#define ZENTOR_KEY_LOOP [[gnu::target_clones("avx2", "default")]]
#else
#define ZENTOR_KEY_LOOP
#endif

// out[i] = in[i] + keys[i % 4096] for `length` bytes. Input and output never overlap, and
// saying so (__restrict, understood by GCC and Clang) lets the compiler vectorise the
// 32-byte steps; where the system's loader can choose (ELF), it picks the build for the
// processor the program runs on, with 32-byte vectors where it has them (AVX2), as memcpy
// does, or the 16-byte ones every x86-64 has. `keys` holds the ring twice over, so that the 32 key bytes of any offset lie
// side by side.
//
// Where the bytes lie matters twice over:
// - The stores go to 32-byte boundaries. The packed body starts 4 bytes into a cache line;
//   stored from there, every other 32-byte store straddles two lines, and an Intel core
//   splits each such store in two: packing took 2.3 times a memcpy there, while unpacking
//   (the same loop, its stores on the boundaries, its loads straddling them) took 1.1.
//   The few bytes before the first boundary and after the last go one at a time.
// - A core guesses whether a load depends on a store from the low 12 bits of their
//   addresses alone, and a load that seems to hit a store just made waits for it. Packing
//   writes the body at 0x4004 from 0x8000, a few bytes ahead of the input in that sense,
//   so a forward walk would make every load wait: the walk goes backwards when the output
//   runs just ahead of the input, as memmove does. The keys are read from a copy placed as
//   the output is within its page, so their loads never seem to hit a store.
ZENTOR_KEY_LOOP void AddKeys(const std::uint8_t* __restrict in, std::uint8_t* __restrict out,
                             const std::uint8_t* __restrict keys, std::size_t length,
                             bool backwards) {
  const std::size_t head = std::min(length, -Address(out) % kChunk);
  const std::size_t chunks = head + (length - head) / kChunk * kChunk;
  if (backwards) {
    for (std::size_t i = length; i > chunks; --i)
      out[i - 1] = static_cast<std::uint8_t>(in[i - 1] + keys[(i - 1) % kRing]);
    for (std::size_t i = chunks; i > head;) {
      i -= kChunk;
      for (std::size_t p = 0; p < kChunk; ++p)
        out[i + p] = static_cast<std::uint8_t>(in[i + p] + keys[i % kRing + p]);
    }
    for (std::size_t i = head; i > 0; --i)
      out[i - 1] = static_cast<std::uint8_t>(in[i - 1] + keys[i - 1]);
  } else {
    for (std::size_t i = 0; i < head; ++i)
      out[i] = static_cast<std::uint8_t>(in[i] + keys[i]);
    for (std::size_t i = head; i < chunks; i += kChunk) {
      for (std::size_t p = 0; p < kChunk; ++p)
        out[i + p] = static_cast<std::uint8_t>(in[i + p] + keys[i % kRing + p]);
    }
    for (std::size_t i = chunks; i < length; ++i)
      out[i] = static_cast<std::uint8_t>(in[i] + keys[i % kRing]);
  }
}

// Adds (or, unpacking, subtracts) BlockKey[n % 4] to block n of `blocks` blocks of 1024:
// subtracting adds the tables' negation (x - k and x + (256 - k) are the same byte).
void ApplyBlockKeys(KeyDirection direction, const std::uint8_t* in, std::uint8_t* out,
                    std::size_t blocks) {
  std::uint8_t room[3 * kRing];
  std::uint8_t* const keys = room + ((Address(out) - Address(room)) % kRing);
  const std::uint8_t* const tables = BlockKey.data()->data();
  for (std::size_t i = 0; i < kRing; ++i)
    keys[i] = static_cast<std::uint8_t>(direction == KeyDirection::Add ? tables[i] : -tables[i]);
  std::memcpy(keys + kRing, keys, kRing);
  const std::size_t lead = (Address(out) - Address(in)) % kRing;
  AddKeys(in, out, keys, blocks * kKeyBlockSize, lead != 0 && lead <= kRing / 2);
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
