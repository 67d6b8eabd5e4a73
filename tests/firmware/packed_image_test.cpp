// SPDX-License-Identifier: GPL-2.0-or-later
#include "firmware/packed_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zentor::firmware {
namespace {

// The key loops run backwards when the output lies just past the input within a page (the
// packed body at 0x4004 read from 0x8000, both buffers alike in their pages) and forwards
// otherwise: the image and the packed bytes sit in one page-aligned room, the packed ones
// `shift` bytes further into their page, so both ways are taken in both directions.
TEST(UnpackImage, InvertsPackImageWhereverTheBuffersLie) {
  const std::size_t shifts[] = {0, 2044, 4092, 28};
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    ImageBytes image(kImageSize);
    std::ranges::generate(image, [&] { return static_cast<std::uint8_t>(random()); });
    std::fill(image.begin() + kImageHoleBegin, image.begin() + kImageBodyBegin, 0xFF);
    // Vary the trailing run so bodies of several lengths are covered, tail included.
    std::fill(image.end() - 4 - seed * 70000, image.end() - 4, 0xFF);
    std::vector<std::uint8_t> room(3 * kImageSize);
    std::uint8_t* const plain =
        room.data() + (-reinterpret_cast<std::uintptr_t>(room.data()) & 4095);
    std::uint8_t* const packed = plain + kImageSize + shifts[seed - 1];
    std::copy(image.begin(), image.end(), plain);
    const auto length = PackImageInto(
        {plain, kImageSize}, std::span<std::uint8_t, kMaxPackedLength>(packed, kMaxPackedLength));
    ASSERT_TRUE(length);
    EXPECT_TRUE(*PackImage(image) == std::vector(packed, packed + *length));
    std::fill(plain, plain + kImageSize, 0);
    ASSERT_TRUE(
        UnpackImageInto({packed, *length}, std::span<std::uint8_t, kImageSize>(plain, kImageSize)));
    EXPECT_TRUE(std::equal(image.begin(), image.end(), plain));
  }
}

}  // namespace
}  // namespace zentor::firmware
