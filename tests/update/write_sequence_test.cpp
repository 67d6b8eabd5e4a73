// SPDX-License-Identifier: GPL-2.0-or-later
// The write sequence on its own, with a scripted dialog: no update file of a small-flash
// family loads, so no whole run reaches the small flash's layout.
#include <gtest/gtest.h>

#include "platform/sim/flash_drive.h"
#include "platform/sim/sim_platform.h"
#include "scsi/flash_commands.h"
#include "tests/firmware/memory_file_system.h"
#include "update/updater.h"
#include "update/wizard_step.h"

namespace zentor::update {
namespace {

using platform::sim::FlashDrive;

// The dialog as the update sees it, reduced to a record and a script.
class ScriptedHost : public UpdateHost {
 public:
  explicit ScriptedHost(firmware::FirmwareImage& image) : image_(image) {}

  void ShowStep() override {}
  void SendProgressPosition() override {}
  void PullBoundFields() override {}
  int LoadFirmwareImage(const std::string&) override {
    image_.imageBuffer = file;
    return 1;
  }
  std::string SelectedDriveLabel() override { return "cdrom0 :  "; }
  std::string SelectedSourceFile() override { return "update.vrl"; }
  int BackupBoxState() override { return 0; }
  int PassTypeBoxState() override { return 0; }
  void EnableNextStart(bool) override {}
  void EnableClose(bool) override {}
  void ShowBackupNotice() override {}
  void ShowDriveInUse(const platform::DriveInUse&) override {}

  firmware::ImageBytes file = firmware::ImageBytes(firmware::kImageSize);

 private:
  firmware::FirmwareImage& image_;
};

struct WriteBench {
  WriteBench() {
    for (std::size_t i = 0; i < host.file.size(); ++i)
      host.file[i] = static_cast<std::uint8_t>(i * 13 + (i >> 12));
    FlashDrive::Setup setup;
    setup.identity = {"VAREL   ", "CD-RW KX1210A   ", "1.00"};
    setup.loaderProduct = "KX-LOADER A0    ";
    setup.idBlockAddress = 4;
    setup.flash.assign(firmware::kSmallImageSize, 0x5A);
    setup.phaseMs = {600, 600, 600, 600};
    drive = std::make_shared<FlashDrive>(setup, platform.clock());
    platform.bus().Attach(platform::sim::SimBus::CdromName(0), drive);
    drives.transportKind = scsi::TransportKind::CdromDevice;
    drives.ParseDriveLabel(host.SelectedDriveLabel());
    scsi::EnterUpdateMode(drives, 1);
  }

  platform::sim::SimPlatform platform;
  zentor::test_support::MemoryFileSystem files;
  scsi::DriveAccess drives{platform};
  UpdateState state;
  firmware::FirmwareImage image;
  ScriptedHost host{image};
  Updater updater{drives, platform, platform, files, host, state, image};
  std::shared_ptr<FlashDrive> drive;
};

TEST(WriteSequence, TheSmallFlashTakes34BlocksOf15360AndA2048ByteTail) {
  WriteBench bench;
  bench.state.driveFamily = 0;
  ASSERT_EQ(bench.updater.WriteFlash(), 1);

  std::vector<int> lengths;
  for (const auto& command : bench.drive->received()) {
    if (command.cdb[0] == 0xAA) lengths.push_back(command.cdb[6] << 8 | command.cdb[7]);
  }
  ASSERT_EQ(lengths.size(), 35u);
  EXPECT_TRUE(std::all_of(lengths.begin(), lengths.end() - 1, [](int n) { return n == 15360; }));
  EXPECT_EQ(lengths.back(), 2048);
  EXPECT_EQ(bench.drive->flash(),
            std::vector<std::uint8_t>(bench.host.file.begin(),
                                      bench.host.file.begin() + firmware::kSmallImageSize));
}

}  // namespace
}  // namespace zentor::update
