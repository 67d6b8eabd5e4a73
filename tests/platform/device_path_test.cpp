#include "platform/linux/device_path.h"

#include <gtest/gtest.h>

namespace zentor::platform::linux_os {
namespace {

struct NameCase {
  const char* name;
  const char* path;  // nullptr: the name must not map to any node
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.name;
}

class DevicePathTest : public testing::TestWithParam<NameCase> {};

TEST_P(DevicePathTest, MapsProgramNamesOntoLinuxNodes) {
  const auto& c = GetParam();
  const auto path = DevicePathFor(c.name);
  if (c.path == nullptr) {
    EXPECT_FALSE(path.has_value()) << c.name << " -> " << path.value_or("");
  } else {
    ASSERT_TRUE(path.has_value()) << c.name;
    EXPECT_EQ(*path, c.path);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, DevicePathTest,
    testing::Values(NameCase{"\\\\.\\cdrom0", "/dev/sr0"}, NameCase{"\\\\.\\cdrom7", "/dev/sr7"},
                    NameCase{"\\\\.\\cdrom12", "/dev/sr12"},
                    NameCase{"\\\\.\\cdrom99", "/dev/sr99"}, NameCase{"\\\\.\\d:", "/dev/sg0"},
                    NameCase{"\\\\.\\e:", "/dev/sg1"}, NameCase{"\\\\.\\z:", "/dev/sg22"},
                    // Past 'z' the drive-letter name holds no letter.
                    NameCase{"\\\\.\\{:", nullptr}, NameCase{"\\\\.\\\xC7:", nullptr},
                    // Drives A to C are never addressed, and letters are lower case.
                    NameCase{"\\\\.\\c:", nullptr}, NameCase{"\\\\.\\D:", nullptr},
                    NameCase{"\\\\.\\d", nullptr}, NameCase{"\\\\.\\d:x", nullptr},
                    NameCase{"\\\\.\\cdrom", nullptr}, NameCase{"\\\\.\\cdrom1x", nullptr},
                    NameCase{"\\\\.\\cdrom-1", nullptr}, NameCase{"\\\\.\\cdrom07", nullptr},
                    NameCase{"\\\\.\\cdrom100", nullptr}, NameCase{"cdrom0", nullptr},
                    NameCase{"/dev/sr0", nullptr}, NameCase{"", nullptr}));

}  // namespace
}  // namespace zentor::platform::linux_os
