#include "scsi/transport_choice.h"

#include <gtest/gtest.h>

#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::SimBus;
using platform::sim::SimPlatform;
using testing_support::SimDrives;

// The pass-through family prefers CD-ROM devices and takes drive letters without them.
TEST(TransportChoice, PassThroughFamilyPrefersCdromDevices) {
  SimDrives sim;
  sim.AttachCdrom(9);
  EXPECT_FALSE(ChooseTransport(sim.platform, sim.drives).has_value());
  EXPECT_EQ(sim.drives.transportKind, TransportKind::CdromDevice);
  EXPECT_EQ(sim.platform.bus().openHandleCount(), 0u);

  SimDrives letters;
  letters.Attach(SimBus::DriveLetterName('e'));
  letters.AttachCdrom(10);
  EXPECT_FALSE(ChooseTransport(letters.platform, letters.drives).has_value());
  EXPECT_EQ(letters.drives.transportKind, TransportKind::DriveLetter);
}

TEST(TransportChoice, UnknownFamiliesEndTheProgramWithTheirNumber) {
  for (int family : {0, 3, -1}) {
    SimPlatform platform(family);
    DriveAccess drives(platform);
    const auto failure = ChooseTransport(platform, drives);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->text, "ASPI:LoadErr [" + std::to_string(family) + "]");
    EXPECT_EQ(failure->icon, StartupFailure::Icon::Exclamation);
    EXPECT_TRUE(platform.bus().openAttempts().empty());
  }
}

struct AspiStartCase {
  const char* what;
  SimPlatform::AspiLibrary library;
  std::uint32_t supportInfo;
  const char* failure;  // nullptr: start-up goes on
  std::uint16_t adapterCount;
};

void PrintTo(const AspiStartCase& c, std::ostream* os) {
  *os << c.what;
}

class AspiStart : public testing::TestWithParam<AspiStartCase> {};

TEST_P(AspiStart, LoadsTheManagerOrEndsWithItsMessage) {
  const auto c = GetParam();
  SimPlatform platform(platform::kFamilyWithAspiManager);
  platform.SetAspiLibrary(c.library);
  platform.aspi().SetSupportInfo(c.supportInfo);
  DriveAccess drives(platform);
  const auto failure = ChooseTransport(platform, drives);
  EXPECT_EQ(drives.transportKind, TransportKind::Aspi);
  if (c.failure == nullptr) {
    EXPECT_FALSE(failure.has_value()) << failure->text;
    EXPECT_EQ(drives.adapterCount, c.adapterCount);
    EXPECT_NE(drives.aspi(), nullptr);
  } else {
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->text, c.failure);
    EXPECT_EQ(failure->icon, StartupFailure::Icon::Stop);
    EXPECT_EQ(drives.aspi(), nullptr);
  }
}

constexpr auto kPresent = SimPlatform::AspiLibrary::Present;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    SupportInfo, AspiStart,
    testing::Values(
        AspiStartCase{"two adapters", kPresent, 0x0102, nullptr, 2},
        AspiStartCase{"no adapter", kPresent, 0x0100, nullptr, 0},
        AspiStartCase{"upper bits ignored", kPresent, 0xBEEF0101, nullptr, 1},
        AspiStartCase{"all 255 adapters", kPresent, 0x01FF, nullptr, 255},
        AspiStartCase{"status 4", kPresent, 0x0402, "Not found ASPI MANAGER", 0},
        AspiStartCase{"status 0", kPresent, 0x00FF, "Not found ASPI MANAGER", 0},
        AspiStartCase{"library missing", SimPlatform::AspiLibrary::Missing, 0x0101, "Not found 'ASPI32.DLL'", 0},
        AspiStartCase{"entry point missing", SimPlatform::AspiLibrary::LacksEntryPoint, 0x0101, "ASPI Function Error 'ASPI32.DLL'", 0}));
// clang-format on

}  // namespace
}  // namespace zentor::scsi
