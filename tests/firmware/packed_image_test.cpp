#include "firmware/packed_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "firmware/scrambling_keys.h"
#include "test_images.h"

namespace zentor::firmware {
namespace {

using testing::RandomImage;

std::uint32_t StoredCount(const ImageBytes& packed) {
  std::uint32_t count;
  std::memcpy(&count, packed.data() + 0x4000, 4);  // x86 and the format are little-endian
  return count;
}

// An image that is 0xFF from 0x8000 on except for one byte, so the trailing count is fixed.
ImageBytes ImageWithLastDataAt(std::size_t offset) {
  ImageBytes image(kImageSize, 0xFF);
  std::fill(image.begin(), image.begin() + 0x4000, 0x11);
  image[offset] = 0x00;
  return image;
}

TEST(PackImage, LaysOutHeadCountBodyAndPlainTail) {
  ImageBytes image(kImageSize, 0x00);
  std::fill(image.begin() + 0x4000, image.begin() + 0x8000, 0xFF);
  image[0xFFFFC] = 0xA1;
  image[0xFFFFD] = 0xA2;
  image[0xFFFFE] = 0xA3;
  image[0xFFFFF] = 0xA4;
  const auto packed = PackImage(image);
  ASSERT_TRUE(packed);
  ASSERT_EQ(packed->size(), 1032200u);
  const auto at = [&](std::size_t offset, std::size_t n) {
    return std::vector<std::uint8_t>(packed->begin() + offset, packed->begin() + offset + n);
  };
  using Bytes = std::vector<std::uint8_t>;
  // A zero image stores the key itself: head block n uses table n % 4 ...
  EXPECT_EQ(at(0x0000, 4), (Bytes{0xe3, 0x92, 0xe6, 0x81}));
  EXPECT_EQ(at(0x0400, 4), (Bytes{0xe4, 0xa3, 0xa0, 0x49}));
  EXPECT_EQ(at(0x0800, 4), (Bytes{0x8d, 0x04, 0x05, 0xc9}));
  EXPECT_EQ(at(0x0C00, 4), (Bytes{0x9e, 0x70, 0xac, 0x88}));
  EXPECT_EQ(at(0x1000, 4), (Bytes{0xe3, 0x92, 0xe6, 0x81}));
  // ... the count is 0 (byte 0xFFFFB is data) ...
  EXPECT_EQ(at(0x4000, 4), (Bytes{0, 0, 0, 0}));
  // ... and the body numbers its blocks from 0 again.
  EXPECT_EQ(at(0x4004, 4), (Bytes{0xe3, 0x92, 0xe6, 0x81}));
  EXPECT_EQ(at(0x4404, 4), (Bytes{0xe4, 0xa3, 0xa0, 0x49}));
  // Body block 991 (table 3) ends at image 0xFFFFF: the tail appears scrambled in it ...
  EXPECT_EQ(at(0x4004 + 991 * 1024 + 1020, 4),
            (Bytes{static_cast<std::uint8_t>(0xA1 + BlockKey[3][1020]),
                   static_cast<std::uint8_t>(0xA2 + BlockKey[3][1021]),
                   static_cast<std::uint8_t>(0xA3 + BlockKey[3][1022]),
                   static_cast<std::uint8_t>(0xA4 + BlockKey[3][1023])}));
  // ... and plain after it.
  EXPECT_EQ(at(1032196, 4), (Bytes{0xA1, 0xA2, 0xA3, 0xA4}));
}

TEST(PackImage, TrailingCountSetsTheBodyLength) {
  struct Case {
    std::size_t lastData;  // image offset of the last non-0xFF byte
    std::uint32_t count;
    std::size_t length;
  };
  const Case cases[] = {
      {0xFFFFB, 0, 1032200},           {0xFFFFB - 1019, 1019, 1032200},  // B = 992
      {0xFFFFB - 1020, 1020, 1031176},                                   // B = 991
      {0xFFFFB - 2043, 2043, 1031176}, {0xFFFFB - 2044, 2044, 1030152},  // B = 990
      {0x8000, 1015803, 17416},                                          // one body block
      {0x3FFF, 1015804, 16392},   // nothing from 0x8000 on: the scan stops there
      {0xFFFFC, 1015804, 16392},  // the tail does not count as data
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lastData);
    const auto packed = PackImage(ImageWithLastDataAt(c.lastData));
    ASSERT_TRUE(packed);
    EXPECT_EQ(StoredCount(*packed), c.count);
    EXPECT_EQ(packed->size(), c.length);
  }
}

TEST(PackImage, RefusesDataInTheErasedRegionAndWrongSizes) {
  for (std::size_t offset : {0x4000, 0x5A5A, 0x7FFF}) {
    auto image = RandomImage(1);
    image[offset] = 0xFE;
    EXPECT_FALSE(PackImage(image)) << offset;
  }
  const auto image = RandomImage(2);
  EXPECT_FALSE(PackImage(std::span(image).first(kImageSize - 1)));
  EXPECT_FALSE(PackImage({}));
}

// The key loops run backwards when the output lies just past the input within a page (the
// packed body at 0x4004 read from 0x8000, both buffers alike in their pages) and forwards
// otherwise: the image and the packed bytes sit in one page-aligned room, the packed ones
// `shift` bytes further into their page, so both ways are taken in both directions.
TEST(UnpackImage, InvertsPackImageWhereverTheBuffersLie) {
  const std::size_t shifts[] = {0, 2044, 4092, 28};
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    auto image = RandomImage(seed);
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

// A packed file of a 1 MiB image with the given count, long enough for its body (or the
// longest body when the count is invalid), so an unchecked count would make the body run
// past the 1 MiB result rather than past the stored data.
ImageBytes PackedWithCount(std::int32_t count) {
  const bool valid = count >= 0 && count <= 1015804;
  const std::size_t blocks = valid ? (1015804 - count + 1023) / 1024 : 1000;
  ImageBytes stored(16392 + 1024 * blocks, 0x5C);
  std::memcpy(stored.data() + 0x4000, &count, 4);
  return stored;
}

TEST(UnpackImage, RefusesCountsOutsideTheImage) {
  std::vector<std::int32_t> counts;
  for (std::int32_t c = -10; c <= 10; ++c)
    counts.push_back(c);
  for (std::int32_t c = 1015794; c <= 1015810; ++c)
    counts.push_back(c);
  counts.insert(counts.end(), {INT32_MIN, INT32_MAX, -1024, -4, -5});
  for (std::int32_t count : counts) {
    const auto stored = PackedWithCount(count);
    const auto unpacked = UnpackImage(stored);
    EXPECT_EQ(unpacked.has_value(), count >= 0 && count <= 1015804) << count;
    if (unpacked) {
      EXPECT_EQ(unpacked->size(), kImageSize);
    }
  }
}

TEST(UnpackImage, RefusesStoredDataTooShortForItsBody) {
  // Every length up to just past the shortest packed file, with a count that asks for no
  // body: only 16392 and more are a packed image.
  ImageBytes stored = PackedWithCount(1015804);
  stored.resize(16400, 0x5C);
  for (std::size_t length = 0; length <= stored.size(); ++length) {
    EXPECT_EQ(UnpackImage(std::span(stored).first(length)).has_value(), length >= 16392) << length;
  }
  // Truncated bodies: one block too many for the data, or the tail cut off.
  for (std::int32_t count : {0, 1020, 1015803}) {
    ImageBytes body = PackedWithCount(count);
    EXPECT_TRUE(UnpackImage(body)) << count;
    EXPECT_FALSE(UnpackImage(std::span(body).first(body.size() - 1))) << count;
    EXPECT_FALSE(UnpackImage(std::span(body).first(body.size() - 1024))) << count;
  }
}

TEST(UnpackImage, TakesTheTailFromTheEndOfLongerStoredData) {
  const auto image = RandomImage(9);
  auto stored = *PackImage(image);
  stored.insert(stored.end(), {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07});
  const auto unpacked = UnpackImage(stored);
  ASSERT_TRUE(unpacked);
  EXPECT_EQ(std::vector(unpacked->end() - 4, unpacked->end()),
            (std::vector<std::uint8_t>{0x04, 0x05, 0x06, 0x07}));
  EXPECT_TRUE(std::equal(image.begin(), image.end() - 4, unpacked->begin()));
}

TEST(UnpackImage, FillsWhatIsNotStoredWithErasedBytes) {
  ImageBytes stored = PackedWithCount(1015804 - 1024);  // one body block
  const auto unpacked = UnpackImage(stored);
  ASSERT_TRUE(unpacked);
  const auto erased = [&](std::size_t from, std::size_t to) {
    return std::all_of(unpacked->begin() + from, unpacked->begin() + to,
                       [](std::uint8_t b) { return b == 0xFF; });
  };
  EXPECT_TRUE(erased(0x4000, 0x8000));
  EXPECT_TRUE(erased(0x8400, 0xFFFFC));
  EXPECT_EQ((*unpacked)[0x8000], static_cast<std::uint8_t>(0x5C - BlockKey[0][0]));
  EXPECT_EQ((*unpacked)[0xFFFFF], 0x5C);
}

}  // namespace
}  // namespace zentor::firmware
