// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/sim/flash_drive.h"
#include "platform/sim/sim_bus.h"

namespace zentor::app {

// A virtual drive of the demo, with the name of the update file made for it.
struct DemoDrive {
  std::string product;
  int typeCodeRow;
  std::string fileName;
  std::shared_ptr<platform::sim::FlashDrive> drive;
};

// How one demo drive is made: its setup (identity, loader, older firmware of its type), its
// type code row and the name of its update file. The kernel tier serves the same drives.
struct DemoDriveRecipe {
  platform::sim::FlashDrive::Setup setup;
  int typeCodeRow;
  std::string fileName;
};
std::vector<DemoDriveRecipe> DemoDriveRecipes();

// The plain image of the update file made for a drive of this type code row.
std::vector<std::uint8_t> UpdateImageOfRow(int typeCodeRow);

// Attaches one drive of each family 5..8 to the bus as CD-ROM devices 0..3, running on the
// clock. Each holds older firmware of its type; its update file holds newer firmware with
// the same identity.
std::vector<DemoDrive> AttachDemoDrives(platform::sim::SimBus& bus, platform::Clock& clock);

// The plain image the drive's update file carries.
std::vector<std::uint8_t> UpdateImageOf(const DemoDrive& drive);

// Writes the update file of every drive into the working directory, leaving alone any name
// that is taken (or cannot be looked at). Returns the names written.
std::vector<std::string> WriteSampleFiles(const std::vector<DemoDrive>& drives,
                                          platform::FileSystem& files);

// The machine the demo runs on: the demo's drives on a simulated bus, reached by
// pass-through, in real time (they take seconds to erase and program), and the running
// program file for the version label. An update on it cuts nothing real: the machine is not
// kept up for it.
class DemoMachine {
 public:
  DemoMachine();

  platform::Platform& platform() { return *platform_; }
  const std::vector<DemoDrive>& drives() const { return drives_; }

 private:
  platform::sim::SimBus bus_;
  std::unique_ptr<platform::Platform> platform_;
  std::vector<DemoDrive> drives_;
};

}  // namespace zentor::app
