#pragma once

#include <memory>
#include <string>

#include "platform/sim/sim_platform.h"
#include "scsi/drive_access.h"

namespace zentor::scsi::testing_support {

// A simulated machine with the command block on top of it.
struct SimDrives {
  explicit SimDrives(TransportKind kind = TransportKind::CdromDevice) {
    drives.transportKind = kind;
  }

  std::shared_ptr<platform::sim::VirtualDrive> Attach(const std::string& name,
                                                      std::string product = "CD-RW KX1210A   ") {
    auto drive = std::make_shared<platform::sim::VirtualDrive>(
        platform::sim::VirtualDrive::Identity{"VAREL   ", std::move(product), "1.00"});
    platform.bus().Attach(name, drive);
    return drive;
  }
  std::shared_ptr<platform::sim::VirtualDrive> AttachCdrom(
      int n, std::string product = "CD-RW KX1210A   ") {
    return Attach(platform::sim::SimBus::CdromName(n), std::move(product));
  }

  platform::sim::SimPlatform platform;
  DriveAccess drives{platform};
};

}  // namespace zentor::scsi::testing_support
