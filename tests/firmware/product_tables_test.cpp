#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "firmware/loader_table.h"
#include "firmware/type_code_table.h"
#include "scsi/model_table.h"

namespace zentor::firmware {
namespace {

std::array<std::uint8_t, 16> ProductId(const char* text) {
  std::array<std::uint8_t, 16> id{};
  std::memcpy(id.data(), text, std::min<std::size_t>(std::strlen(text), id.size()));
  return id;
}

// A 16 KiB identification block that starts with the given bytes.
std::vector<std::uint8_t> Block(std::string_view start) {
  std::vector<std::uint8_t> block(0x4000, 0x20);
  std::copy(start.begin(), start.end(), block.begin());
  return block;
}

// The rows as the product data publishes them: five single rows, then each family's stem
// with its digits counted up.
TEST(TypeCodeTable, HoldsTheProductRowsInOrder) {
  std::vector<std::string> expected = {"0 KXR 4 0", "0 KXQ 4 0", "1 KXR 524036 0", "3 KXS 131076 0",
                                       "2 KXDV 32772 0"};
  for (char digit = '0'; digit <= '9'; ++digit) {
    expected.push_back((digit < '2' ? "4 KXR4" : "5 KXR4") + std::string(1, digit) +
                       (digit < '2' ? " 32772 0" : " 32772 1"));
  }
  for (const char* family : {"6", "7", "8"}) {
    for (char digit = '0'; digit <= '9'; ++digit) {
      expected.push_back(std::string(family) + " KXR" + family + digit + " 32772 1");
    }
  }
  ASSERT_EQ(TypeCodeRowCount(), 45);
  for (int index = 0; index < 45; ++index) {
    const TypeCodeRow& row = TypeCodeTable[index];
    EXPECT_EQ(std::to_string(row.family) + " " + row.code + " " + std::to_string(row.codeOffset) +
                  " " + std::to_string(row.scrambled),
              expected[index])
        << index;
  }
  EXPECT_EQ(TypeCodeTable[45].scrambled, 0u);
}

TEST(TypeCodeTable, DriveBlockAgreesAsAFourCharacterCString) {
  using namespace std::string_literals;
  struct Case {
    std::string start;
    int row;
  };
  // clang-format off
  const Case cases[] = {
      {"KXR\0"s, 0}, {"KXQ\0"s, 1}, {"KXS\0"s, 3},  // 3 characters need the NUL
      {"KXR "s, -1}, {"KXS1"s, -1}, {"KXQ4"s, -1},  // and nothing else after them
      {"KXDV"s, 4}, {"KXDVX"s, 4}, {"KXR40"s, 5}, {"KXR4"s, 5}, {"KXR41"s, 5}, {"KXR45"s, 5},
      {"KXR4\xFF"s, 5},  // 5th character not compared
      {"KXR6"s, 15}, {"KXR7A"s, 25}, {"KXR89"s, 35},
      {"kxr4"s, -1}, {"KXR5"s, -1}, {"\0KXR"s, -1}, {"\xFF\xFF\xFF\xFF\xFF\xFF"s, -1},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.start));
    EXPECT_EQ(FindBlockCodeRow(Block(c.start)), c.row);
  }
}

TEST(TypeCodeTable, PromotesFamilyFourOnAFifthCharacterOfTwoOrAbove) {
  struct Case {
    int family;
    std::uint8_t fifth;
    PromotedFamily expected;
  };
  const Case cases[] = {
      {4, '0', {4, false}}, {4, '1', {4, false}}, {4, 0x00, {4, false}}, {4, '2', {5, true}},
      {4, '9', {5, true}},  {4, 'A', {5, true}},  {4, 0x80, {5, true}},  {4, 0xFF, {5, true}},
      {6, '2', {6, false}}, {0, '9', {0, false}},
  };
  for (const Case& c : cases) {
    auto block = Block("KXR4");
    block[4] = c.fifth;
    const PromotedFamily result = PromoteDriveFamily(c.family, block);
    EXPECT_EQ(result.family, c.expected.family) << int(c.fifth);
    EXPECT_EQ(result.forceLoaderUpdate, c.expected.forceLoaderUpdate) << int(c.fifth);
  }
}

TEST(TypeCodeTable, FileTestComparesTheWholeCodeAtItsOffset) {
  std::vector<std::uint8_t> image(0x100000, 0xFF);
  const auto put = [&](std::uint32_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), image.begin() + offset);
  };
  put(0x8004, "KXR41");
  EXPECT_FALSE(FileHoldsCode(TypeCodeTable[5], image));
  EXPECT_TRUE(FileHoldsCode(TypeCodeTable[6], image));
  put(0x8004, "KXR45");
  EXPECT_TRUE(FileHoldsCode(TypeCodeTable[10], image));
  // A 3-character code needs no NUL on the file side.
  put(0x4, "KXRZ");
  EXPECT_TRUE(FileHoldsCode(TypeCodeTable[0], image));
  // Bytes the file lacks are a mismatch, also when only the last character is missing.
  const std::span<const std::uint8_t> cut(image.data(), 0x8004 + 4);
  EXPECT_FALSE(FileHoldsCode(TypeCodeTable[10], cut));
  EXPECT_TRUE(FileHoldsCode(TypeCodeTable[10], std::span(image.data(), 0x8004 + 5)));
  EXPECT_FALSE(FileHoldsCode(TypeCodeTable[2], cut));
}

TEST(LoaderTable, MatchesExactlySixteenBytesAndFindsRepeatedIds) {
  EXPECT_EQ(FindLoaderRow(ProductId("KX-LOADER A0    ")), 0);
  EXPECT_EQ(FindLoaderRow(ProductId("KX-LOADER D1    ")), 4);
  EXPECT_EQ(FindLoaderRow(ProductId("KX-LOADER H8    ")), 10);
  EXPECT_EQ(FindLoaderRow(ProductId("KX-LOADER G7    ")), 8);
  EXPECT_EQ(FindLoaderRow(ProductId("KX-LOADER G7    "), 9), 9);
  EXPECT_EQ(FindLoaderRow(ProductId("KX-LOADER G7    "), 10), -1);
  EXPECT_EQ(FindLoaderRow(ProductId("KX-LOADER H8    "), 11), -1);
  // No trimming, no case folding.
  EXPECT_EQ(FindLoaderRow(ProductId("KX-LOADER A0")), -1);
  EXPECT_EQ(FindLoaderRow(ProductId("kx-loader a0    ")), -1);
  EXPECT_EQ(FindLoaderRow(ProductId(" KX-LOADER A0   ")), -1);
}

TEST(LoaderTable, AgreesWithTheTypeCodeAndModelTables) {
  const int families[] = {0, 0, 2, 3, 1, 4, 5, 6, 7, 8, 8};
  for (int row = 0; row < 11; ++row) {
    SCOPED_TRACE(row);
    const LoaderRow& loader = LoaderTable[row];
    ASSERT_EQ(std::strlen(loader.loaderId), 16u);
    EXPECT_EQ(loader.family, families[row]);
    // The identification block starts with the type code, except for family 1, whose
    // code lies 0x3F00 bytes into the block.
    const TypeCodeRow* first = TypeCodeTable;
    while (first->family != loader.family)
      ++first;
    EXPECT_EQ(loader.idBlockAddress + (loader.family == 1 ? 0x3F00u : 0u), first->codeOffset);
    // A drive left running its loader is still listed, except under the newest loader id.
    const auto id = ProductId(loader.loaderId);
    EXPECT_EQ(scsi::IsSupportedModel(id), row != 10);
  }
  EXPECT_EQ(LoaderTable[11].family, kTerminatorFamily);
}

}  // namespace
}  // namespace zentor::firmware
