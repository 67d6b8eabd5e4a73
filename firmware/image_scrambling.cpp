// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/image_scrambling.h"

#include <algorithm>

#include "firmware/image_layout.h"
#include "firmware/packed_image.h"
#include "firmware/scrambling_keys.h"
#include "firmware/type_code_table.h"

namespace zentor::firmware {
namespace {

// Adds (sign +1) or subtracts (sign -1) AdditiveKey over `bytes`, leaving the window at
// `window` alone. The window is clipped to the bytes, so a length that ends inside it
// touches nothing past the length.
void ApplyAdditiveKey(std::span<std::uint8_t> bytes, std::size_t window, int sign) {
  const std::size_t windowBegin = std::min(window, bytes.size());
  const std::size_t windowEnd = std::min(window + kIdentificationHeaderSize, bytes.size());
  const auto apply = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      bytes[i] = static_cast<std::uint8_t>(bytes[i] + sign * AdditiveKey[i % AdditiveKey.size()]);
    }
  };
  apply(0, windowBegin);
  apply(windowEnd, bytes.size());
}

}  // namespace

bool ScrambleImage(std::span<std::uint8_t> buffer, std::uint32_t& length, int driveFamily,
                   int fileFamily) {
  const int window = PlainWindowOffset(fileFamily);
  if (window < 0) return false;
  if (driveFamily == kAdditiveFamily) {
    if (length > buffer.size()) return false;
    ApplyAdditiveKey(buffer.first(length), static_cast<std::size_t>(window), +1);
    return true;
  }
  if (driveFamily >= kFirstPackedFamily) {
    if (buffer.size() < kImageSize) return false;
    const auto packed = PackImage(buffer.first(kImageSize));
    if (!packed) return false;
    std::copy(packed->begin(), packed->end(), buffer.begin());
    length = static_cast<std::uint32_t>(packed->size());
    return true;
  }
  return false;
}

bool UnscrambleImage(std::span<std::uint8_t> buffer, int length, int driveFamily, int fileFamily) {
  const int window = PlainWindowOffset(fileFamily);
  if (window < 0) return false;
  if (length > 0 && static_cast<std::size_t>(length) > buffer.size()) return false;
  const std::size_t stored = static_cast<std::size_t>(std::max(length, 0));
  if (driveFamily == kAdditiveFamily) {
    ApplyAdditiveKey(buffer.first(stored), static_cast<std::size_t>(window), -1);
    return true;
  }
  if (driveFamily >= kFirstPackedFamily) {
    if (buffer.size() < kImageSize) return false;
    const auto image = UnpackImage(buffer.first(stored));
    if (!image) return false;
    std::copy(image->begin(), image->end(), buffer.begin());
    return true;
  }
  return false;
}

}  // namespace zentor::firmware
