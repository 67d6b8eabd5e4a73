// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/drive_scan.h"

#include <gtest/gtest.h>

#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using testing_support::SimDrives;

// Devices 0..99 in order, each open only for its INQUIRY (the last one too: nothing else
// would close it).
TEST(DriveScan, ListsExactlyTheSupportedDrivesInScanOrder) {
  SimDrives sim;
  sim.AttachCdrom(99, "DVD+RW KX4410B  ");
  sim.AttachCdrom(3);
  sim.AttachCdrom(4);                      // the same model again: an entry of its own
  sim.AttachCdrom(5, "CD-RW KX9999A   ");  // no model of ours
  EXPECT_EQ(ScanPassThrough(sim.drives),
            (std::vector<std::string>{"cdrom3 :  VAREL   CD-RW KX1210A   1.00",
                                      "cdrom4 :  VAREL   CD-RW KX1210A   1.00",
                                      "cdrom99 :  VAREL   DVD+RW KX4410B  1.00"}));
  EXPECT_EQ(sim.platform.bus().openAttempts().size(), 100u);
  EXPECT_EQ(sim.platform.bus().openHandleCount(), 0u);
  EXPECT_EQ(sim.platform.bus().closeCount(), 4);
}

}  // namespace
}  // namespace zentor::scsi
