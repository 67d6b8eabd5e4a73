// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/transport_choice.h"

#include <gtest/gtest.h>

#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::SimBus;
using platform::sim::SimPlatform;
using Icon = StartupFailure::Icon;

// The platform family picks the transport: pass-through prefers CD-ROM devices and takes
// drive letters without them; the ASPI family loads the manager or ends with its message;
// any other family ends the program with its number.
TEST(TransportChoice, FollowsTheFamilyTheManagerAndTheDevicesPresent) {
  constexpr auto kPresent = SimPlatform::AspiLibrary::Present;
  struct Case {
    const char* what;
    int family;
    std::vector<std::string> nodes;
    SimPlatform::AspiLibrary library;
    std::uint32_t supportInfo;
    TransportKind kind;
    const char* failure;  // nullptr: start-up goes on
    Icon icon;
    int adapters;
  };
  const int kPass = platform::kFamilyWithPassThrough, kAspi = platform::kFamilyWithAspiManager;
  // clang-format off
  const Case cases[] = {
      {"CD-ROM device", kPass, {SimBus::CdromName(9)}, kPresent, 0, TransportKind::CdromDevice, nullptr, Icon::Stop, 0},
      {"drive letters only", kPass, {SimBus::DriveLetterName('e')}, kPresent, 0, TransportKind::DriveLetter, nullptr, Icon::Stop, 0},
      {"unknown family", 3, {}, kPresent, 0, TransportKind::CdromDevice, "ASPI:LoadErr [3]", Icon::Exclamation, 0},
      {"two adapters", kAspi, {}, kPresent, 0xBEEF0102, TransportKind::Aspi, nullptr, Icon::Stop, 2},
      {"manager status 4", kAspi, {}, kPresent, 0x0402, TransportKind::Aspi, "Not found ASPI MANAGER", Icon::Stop, 0},
      {"library missing", kAspi, {}, SimPlatform::AspiLibrary::Missing, 0x0101, TransportKind::Aspi, "Not found 'ASPI32.DLL'", Icon::Stop, 0},
      {"entry point missing", kAspi, {}, SimPlatform::AspiLibrary::LacksEntryPoint, 0x0101, TransportKind::Aspi, "ASPI Function Error 'ASPI32.DLL'", Icon::Stop, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimPlatform platform(c.family);
    platform.SetAspiLibrary(c.library);
    platform.aspi().SetSupportInfo(c.supportInfo);
    for (const std::string& node : c.nodes)
      platform.bus().Attach(node, testing_support::SimDrives::NewDrive("CD-RW KX1210A   "));
    DriveAccess drives(platform);
    const auto failure = ChooseTransport(platform, drives);
    EXPECT_EQ(platform.bus().openHandleCount(), 0u);
    if (c.failure == nullptr) {
      ASSERT_FALSE(failure.has_value()) << failure->text;
      EXPECT_EQ(drives.transportKind, c.kind);
      if (c.kind == TransportKind::Aspi) {
        EXPECT_EQ(drives.adapterCount, c.adapters);
      }
    } else {
      ASSERT_TRUE(failure.has_value());
      EXPECT_EQ(failure->text, c.failure);
      EXPECT_EQ(failure->icon, c.icon);
      EXPECT_EQ(drives.aspi(), nullptr);
    }
  }
}

}  // namespace
}  // namespace zentor::scsi
