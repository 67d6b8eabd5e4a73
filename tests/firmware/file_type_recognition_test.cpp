#include "firmware/file_type_recognition.h"

#include <gtest/gtest.h>

#include <string>

#include "firmware/image_scrambling.h"
#include "firmware/packed_image.h"
#include "test_images.h"

namespace zentor::firmware {
namespace {

using testing::RandomImage;

constexpr char kText[] = "SHORT-ID LONG-ID-16-CHARS REST";  // 30 characters

ImageBytes PlainImage(std::string_view code, std::uint32_t seed = 5) {
  ImageBytes image = RandomImage(seed, code);
  std::copy(kText, kText + 30, image.begin() + 0x8004 + 6);
  return image;
}

ImageBytes Stored(const ImageBytes& plain, int family) {
  ImageBytes buffer = plain;
  std::uint32_t length = kImageSize;
  EXPECT_TRUE(ScrambleImage(buffer, length, family, family));
  buffer.resize(length);
  return buffer;
}

std::string HeaderText(const FileRecognition& match) {
  return std::string(match.header.begin() + 6, match.header.end());
}

TEST(FileTypeRecognition, FindsTheRowByFamilyAndForm) {
  struct Case {
    const char* what;
    ImageBytes file;
    int row;  // -1: no row
    bool unpacked;
  };
  const Case cases[] = {
      {"family 5 stored: read through the plain window", Stored(PlainImage("KXR45"), 5), 10, false},
      {"family 5 plain", PlainImage("KXR45"), 10, false},
      {"family 4 plain: the digit decides", PlainImage("KXR41"), 6, false},
      {"family 6 stored", Stored(PlainImage("KXR64"), 6), 19, true},
      {"family 6 plain: only ever tested unpacked", PlainImage("KXR64"), -1, false},
      {"family 7 plain", PlainImage("KXR71"), 26, false},
      {"family 7 stored", Stored(PlainImage("KXR71"), 7), 26, true},
      {"family 8 stored", Stored(PlainImage("KXR89"), 8), 44, true},
      {"family 8 plain", PlainImage("KXR89"), -1, false},
      {"unknown code", Stored(PlainImage("KXR99"), 8), -1, false},
      {"empty file", {}, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto match = RecognizeFirmwareFile(c.file);
    ASSERT_EQ(match.has_value(), c.row >= 0);
    if (!match) continue;
    EXPECT_EQ(match->typeCodeRow, c.row);
    EXPECT_EQ(match->fromUnpackedImage, c.unpacked);
    EXPECT_EQ(HeaderText(*match), kText);
  }
}

TEST(FileTypeRecognition, FirstRowInTableOrderWins) {
  // A plain image that holds row 0's code at 4 and a family-7 code at 0x8004.
  ImageBytes image = PlainImage("KXR70");
  std::copy_n("KXR", 3, image.begin() + 4);
  const auto match = RecognizeFirmwareFile(image);
  ASSERT_TRUE(match);
  EXPECT_EQ(match->typeCodeRow, 0);
  EXPECT_EQ(std::string(match->header.begin(), match->header.begin() + 3), "KXR");
}

TEST(FileTypeRecognition, PadsAShortFileWithNulAndRefusesALongOne) {
  ImageBytes file = PlainImage("KXR45");
  file.resize(0x8004 + 6 + 4);
  const auto match = RecognizeFirmwareFile(file);
  ASSERT_TRUE(match);
  EXPECT_EQ(std::string(match->header.begin() + 6, match->header.begin() + 10), "SHOR");
  EXPECT_TRUE(std::all_of(match->header.begin() + 10, match->header.end(),
                          [](std::uint8_t b) { return b == 0; }));

  ImageBytes longFile = PlainImage("KXR45");
  longFile.push_back(0);
  EXPECT_FALSE(RecognizeFirmwareFile(longFile));
}

}  // namespace
}  // namespace zentor::firmware
