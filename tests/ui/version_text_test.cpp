#include <gtest/gtest.h>

#include "platform/sim/sim_platform.h"
#include "resources/version_info.h"
#include "ui/version_text.h"

namespace zentor::ui {
namespace {

TEST(VersionText, JoinsThePiecesAfterTheFirstWithAPoint) {
  struct Case {
    std::string_view productVersion;
    std::string_view label;
  };
  const Case cases[] = {
      {"8, 5, 1, 5", "2003  Ver 8.515"},
      {"8.515", "2003  Ver 8.515."},
      {"8,5 1,,5", "2003  Ver 8.515"},
      {"10, 20, 30, 40", "2003  Ver 10.203040"},       // exactly nine characters
      {"123, 456, 789, 1011", "2003  Ver 123.45678"},  // cut to nine
      {"8.515.2003.1", "2003  Ver 8.515.200"},
      {"", "2003  Ver "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VersionTextOf(c.productVersion), c.label) << c.productVersion;
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

TEST(VersionText, IsBlankWithoutVersionInformationOrProductVersion) {
  using namespace std::string_view_literals;
  platform::sim::SimPlatform platform;
  EXPECT_EQ(BuildVersionText(platform), "");

  platform.SetProgramFile("/bin/zentor",
                          Bytes("\\StringFileInfo\\040904b0\\ProductName\0Zentor\0\0"sv));
  EXPECT_EQ(BuildVersionText(platform), "");

  platform.SetProgramFile("/bin/zentor", Bytes("A\0x\0\\StringFileInfo\\040904b0\\ProductVersion\0"
                                               "8, 5\0\0"sv));
  EXPECT_EQ(BuildVersionText(platform), "2003  Ver 8.5");
}

TEST(VersionInfo, FindsOnlyWholeEntries) {
  using namespace std::string_view_literals;
  const std::string_view key = resources::kProductVersionKey;
  const auto block = Bytes(
      "K\0v\0\\StringFileInfo\\040904b0\\ProductVersion\0"
      "1.2\0\0"sv);
  EXPECT_EQ(resources::QueryVersionValue(block, key), "1.2");
  EXPECT_EQ(resources::QueryVersionValue(block, "K"), "v");
  EXPECT_EQ(resources::QueryVersionValue(block, "v"), std::nullopt);  // a value is no key
  // Cut inside the value: no terminating NUL, no value.
  const std::span<const std::uint8_t> cut(block.data(), block.size() - 3);
  EXPECT_EQ(resources::QueryVersionValue(cut, key), std::nullopt);
  EXPECT_EQ(resources::QueryVersionValue({}, key), std::nullopt);
}

}  // namespace
}  // namespace zentor::ui
