#include "firmware/image_scrambling.h"

#include <gtest/gtest.h>

#include "firmware/scrambling_keys.h"
#include "test_images.h"

namespace zentor::firmware {
namespace {

using testing::RandomImage;

// Round trips of every family are whole updates with a backup flashed back; here, the
// bytes and the refusals.
TEST(ImageScrambling, FamilyFiveAddsTheKeyAndKeepsTheWindowPlain) {
  ImageBytes image(kImageSize, 0x00);
  std::fill(image.begin() + 0x8004, image.begin() + 0x8004 + 36, 0x41);
  std::uint32_t length = kImageSize;
  ASSERT_TRUE(ScrambleImage(image, length, 5, 5));
  EXPECT_EQ(length, kImageSize);
  const std::vector<std::uint8_t> start(image.begin(), image.begin() + 8);
  EXPECT_EQ(start, (std::vector<std::uint8_t>{0x82, 0xf2, 0x11, 0x85, 0xcd, 0xf3, 0x22, 0xba}));
  for (std::size_t i : {0x8003ul, 0x8004ul + 36, 0xFFFFFul, 0x100ul, 0x1FFul}) {
    EXPECT_EQ(image[i], AdditiveKey[i % 256]) << i;
  }
  EXPECT_TRUE(std::all_of(image.begin() + 0x8004, image.begin() + 0x8004 + 36,
                          [](std::uint8_t b) { return b == 0x41; }));
}

TEST(ImageScrambling, FamilyFiveNeverTouchesBytesPastTheLength) {
  for (std::uint32_t length : {0u, 1u, 0x8004u, 0x8005u, 0x8004u + 35, 0x8004u + 37}) {
    ImageBytes buffer(kImageSize, 0x00);
    std::uint32_t inOut = length;
    ASSERT_TRUE(ScrambleImage(buffer, inOut, 5, 5));
    EXPECT_EQ(inOut, length);
    EXPECT_TRUE(std::all_of(buffer.begin() + length, buffer.end(), [](std::uint8_t b) {
      return b == 0;
    })) << length;
    ASSERT_TRUE(UnscrambleImage(buffer, static_cast<int>(length), 5, 5));
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0; }))
        << length;
  }
}

TEST(ImageScrambling, RefusesAndLeavesTheBufferAlone) {
  struct Case {
    const char* why;
    int driveFamily, fileFamily;
    std::size_t bufferSize;
    std::uint32_t length;
    bool spoilHole;
  };
  const Case cases[] = {
      {"drive family without a stored form", 4, 5, kImageSize, kImageSize, false},
      {"file family without a window", 5, 4, kImageSize, kImageSize, false},
      {"file family of no row", 6, 9, kImageSize, kImageSize, false},
      {"data in the erased region", 6, 6, kImageSize, kImageSize, true},
      {"packed form needs a full image", 7, 7, kImageSize / 2, kImageSize / 2, false},
      {"length beyond the buffer", 5, 5, 1000, 1001, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ImageBytes image = RandomImage(3, "KXR66");
    if (c.spoilHole) image[0x6000] = 0;
    image.resize(c.bufferSize);
    ImageBytes buffer = image;
    std::uint32_t length = c.length;
    EXPECT_FALSE(ScrambleImage(buffer, length, c.driveFamily, c.fileFamily));
    EXPECT_EQ(length, c.length);
    EXPECT_FALSE(UnscrambleImage(buffer, static_cast<int>(c.length), c.driveFamily, c.fileFamily));
    EXPECT_TRUE(buffer == image);
  }
  // Stored data that does not unpack (count 0xFFFFFFFF), or no data at all.
  ImageBytes erased(kImageSize, 0xFF);
  for (const int length : {20000, 0, -1})
    EXPECT_FALSE(UnscrambleImage(erased, length, 8, 8)) << length;
  EXPECT_TRUE(std::all_of(erased.begin(), erased.end(), [](std::uint8_t b) { return b == 0xFF; }));
}

}  // namespace
}  // namespace zentor::firmware
