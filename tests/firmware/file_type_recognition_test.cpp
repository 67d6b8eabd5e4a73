#include "firmware/file_type_recognition.h"

#include <gtest/gtest.h>

#include <string>

#include "firmware/image_scrambling.h"
#include "firmware/packed_image.h"
#include "firmware/type_code_table.h"
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

// Recognition reads only the bytes it looks at and works the unpacked ones out from the
// packed form; it must judge every file as the whole unpacked image would: the first row,
// in table order, whose code stands in the file as stored or in UnpackImage's result.
TEST(FileTypeRecognition, JudgesFromAFewBytesAsTheWholeUnpackedImageWould) {
  std::vector<ImageBytes> files;
  for (const char* code : {"KXR45", "KXR64", "KXR71", "KXR89"}) {
    for (int family : {5, 6, 7, 8})
      files.push_back(Stored(PlainImage(code), family));
    files.push_back(PlainImage(code));
  }
  // Bodies cut to every length near the identification and the tail, counts at the edges.
  const ImageBytes packed = Stored(PlainImage("KXR80"), 8);
  for (std::uint32_t count : {0u, 1u, 1023u, 1024u, 1025u, kMaxTrailingCount - 1024,
                              kMaxTrailingCount - 1, kMaxTrailingCount, kMaxTrailingCount + 1}) {
    ImageBytes file = packed;
    for (std::size_t i = 0; i < 4; ++i)
      file[kPackedCountOffset + i] = (count >> (8 * i)) & 0xFF;
    for (std::size_t length : {kMinPackedLength - 1, kMinPackedLength, kMinPackedLength + 40,
                               kMinPackedLength + 1024, file.size() - 1, file.size()}) {
      files.emplace_back(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    }
  }
  // The identification in the tail: an image whose body is empty but for its last bytes.
  ImageBytes tailOnly(kImageSize, 0xFF);
  std::copy_n("KXR8", 4, tailOnly.begin() + 0xFFFFC);
  files.push_back(Stored(tailOnly, 8));

  for (std::size_t n = 0; n < files.size(); ++n) {
    SCOPED_TRACE(n);
    const ImageBytes& file = files[n];
    std::optional<FileRecognition> expected;
    const std::optional<ImageBytes> unpacked = UnpackImage(file);
    for (int row = 0; !expected && TypeCodeTable[row].family != kTerminatorFamily; ++row) {
      const TypeCodeRow& entry = TypeCodeTable[row];
      const bool stored = entry.family < kFirstPackedFamily || entry.family == kPlainOrPackedFamily;
      for (const bool fromUnpacked : {false, true}) {
        if (expected || (fromUnpacked ? entry.family < kFirstPackedFamily || !unpacked : !stored)) {
          continue;
        }
        const ImageBytes& bytes = fromUnpacked ? *unpacked : file;
        if (!FileHoldsCode(entry, bytes)) continue;
        FileRecognition match{row, fromUnpacked, {}};
        const std::size_t at = entry.codeOffset;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                    std::min(bytes.size() - at, match.header.size()), match.header.begin());
        expected = match;
      }
    }
    const auto match = RecognizeFirmwareFile(file);
    ASSERT_EQ(match.has_value(), expected.has_value());
    if (!match) continue;
    EXPECT_EQ(match->typeCodeRow, expected->typeCodeRow);
    EXPECT_EQ(match->fromUnpackedImage, expected->fromUnpackedImage);
    EXPECT_EQ(match->header, expected->header);
  }
}

}  // namespace
}  // namespace zentor::firmware
