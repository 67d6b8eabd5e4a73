// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/sim/sim_platform.h"
#include "scsi/aspi_startup.h"
#include "scsi/drive_access.h"

namespace zentor::scsi::testing_support {

// A simulated machine with the command block on top of it. On the Aspi transport the
// simulated ASPI manager is loaded as start-up loads it, reporting the given support info.
struct SimDrives {
  explicit SimDrives(TransportKind kind = TransportKind::CdromDevice,
                     std::uint32_t aspiSupportInfo = 0x0101)
      : platform(kind == TransportKind::Aspi ? platform::kFamilyWithAspiManager
                                             : platform::kFamilyWithPassThrough) {
    drives.transportKind = kind;
    if (kind == TransportKind::Aspi) {
      platform.aspi().SetSupportInfo(aspiSupportInfo);
      LoadAspiManagerAtStartup(platform, drives);
    }
  }

  static std::shared_ptr<platform::sim::VirtualDrive> NewDrive(std::string product) {
    return std::make_shared<platform::sim::VirtualDrive>(
        platform::sim::VirtualDrive::Identity{"VAREL   ", std::move(product), "1.00"});
  }
  std::shared_ptr<platform::sim::VirtualDrive> AttachCdrom(
      int n, std::string product = "CD-RW KX1210A   ") {
    auto drive = NewDrive(std::move(product));
    platform.bus().Attach(platform::sim::SimBus::CdromName(n), drive);
    return drive;
  }
  std::shared_ptr<platform::sim::VirtualDrive> AttachAt(int adapter, int target,
                                                        std::string product = "CD-RW KX1210A   ") {
    auto drive = NewDrive(std::move(product));
    platform.bus().AttachAt(adapter, target, drive);
    return drive;
  }

  platform::sim::SimPlatform platform;
  DriveAccess drives{platform};
};

}  // namespace zentor::scsi::testing_support
