// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/aspi_transport.h"

#include <gtest/gtest.h>

#include "scsi/drive_scan.h"
#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::AspiCompletion;
using platform::sim::DriveAnswer;
using testing_support::SimDrives;
using When = AspiCompletion::When;

constexpr std::uint64_t kWaitLimitMs = 5000;

TEST(AspiTransport, LateCompletionNeverTouchesTheNextCommandsData) {
  SimDrives sim(TransportKind::Aspi);
  auto first = sim.AttachAt(0, 0, "CD-RW KX1210A   ");
  auto second = sim.AttachAt(0, 1, "DVD+RW KX4410B  ");

  // The first command outlives its five seconds and completes at 6000 ms ...
  sim.platform.aspi().QueueCompletion({When::After, 6000, std::nullopt});
  ASSERT_EQ(sim.drives.Inquiry(), 0);
  ASSERT_EQ(sim.platform.NowMs(), kWaitLimitMs);

  // ... in the middle of the next one, which sends a full data buffer and completes at 7000.
  sim.platform.aspi().QueueCompletion({When::After, 2000, std::nullopt});
  for (std::uint32_t i = 0; i < kDataBufferSize; ++i) {
    sim.drives.request().dataBuffer[i] = static_cast<std::uint8_t>(0xA5 ^ i);
  }
  sim.drives.request().address = {0, 1, 0};
  sim.drives.PrepareCommand(kFlagsDataOut, 10, {0x3B, 0x02, 0, 0, 0, 0, 0, 0x40, 0x00, 0});
  sim.drives.Dispatch(kDataBufferSize);
  ASSERT_EQ(sim.platform.NowMs(), 7000u);
  ASSERT_EQ(first->received().size(), 1u) << "the late completion did happen";

  const auto& payload = second->received().at(0).dataOut;
  ASSERT_EQ(payload.size(), kDataBufferSize);
  for (std::uint32_t i = 0; i < kDataBufferSize; ++i) {
    ASSERT_EQ(payload[i], static_cast<std::uint8_t>(0xA5 ^ i)) << "byte " << i;
    ASSERT_EQ(sim.drives.request().dataBuffer[i], static_cast<std::uint8_t>(0xA5 ^ i));
  }

  // Once the manager is done with it, the late request's block and event are let go.
  sim.platform.aspi().SetCompletion({When::Synchronous, 0, std::nullopt});
  EXPECT_EQ(sim.drives.Inquiry(), 1);
  EXPECT_EQ(sim.drives.IdentificationText(), "VAREL   DVD+RW KX4410B  1.00");
  EXPECT_EQ(sim.drives.aspi()->outstandingCount(), 0u);
  EXPECT_EQ(sim.platform.liveEventCount(), 0u);
}

}  // namespace
}  // namespace zentor::scsi
