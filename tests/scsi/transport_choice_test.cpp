// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/transport_choice.h"

#include <gtest/gtest.h>

#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::SimPlatform;
using Icon = StartupFailure::Icon;

// The ASPI family loads the manager, with as many adapters as it reports, or ends with its
// message; any other family ends the program with its number. (The pass-through family's
// choice between CD-ROM devices and drive letters shows on real nodes in the kernel tier.)
TEST(TransportChoice, FollowsTheFamilyAndTheManager) {
  constexpr auto kPresent = SimPlatform::AspiLibrary::Present;
  struct Case {
    const char* what;
    int family;
    SimPlatform::AspiLibrary library;
    std::uint32_t supportInfo;
    const char* failure;  // nullptr: start-up goes on
    Icon icon;
    int adapters;
  };
  const int kAspi = platform::kFamilyWithAspiManager;
  // clang-format off
  const Case cases[] = {
      {"unknown family", 3, kPresent, 0, "ASPI:LoadErr [3]", Icon::Exclamation, 0},
      {"two adapters", kAspi, kPresent, 0xBEEF0102, nullptr, Icon::Stop, 2},
      {"manager status 4", kAspi, kPresent, 0x0402, "Not found ASPI MANAGER", Icon::Stop, 0},
      {"library missing", kAspi, SimPlatform::AspiLibrary::Missing, 0x0101, "Not found 'ASPI32.DLL'", Icon::Stop, 0},
      {"entry point missing", kAspi, SimPlatform::AspiLibrary::LacksEntryPoint, 0x0101, "ASPI Function Error 'ASPI32.DLL'", Icon::Stop, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimPlatform platform(c.family);
    platform.SetAspiLibrary(c.library);
    platform.aspi().SetSupportInfo(c.supportInfo);
    DriveAccess drives(platform);
    const auto failure = ChooseTransport(platform, drives);
    if (c.failure == nullptr) {
      ASSERT_FALSE(failure.has_value()) << failure->text;
      EXPECT_EQ(drives.transportKind, TransportKind::Aspi);
      EXPECT_EQ(drives.adapterCount, c.adapters);
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
