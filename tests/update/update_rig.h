// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "firmware/loader_table.h"
#include "firmware/sample_firmware.h"
#include "firmware/type_code_table.h"
#include "platform/sim/flash_drive.h"
#include "platform/sim/sim_platform.h"
#include "scsi/aspi_startup.h"
#include "scsi/drive_scan.h"
#include "tests/ui/dialog_fixture.h"
#include "ui/control_ids.h"
#include "update/wizard_step.h"

namespace zentor::update::test_support {

// The commands an update sends go by the simulated drive's names for them (kOp...).
using namespace platform::sim;

// A drive's refusal of the next matching commands, with the given sense key and ASC.
inline platform::sim::InjectedFault Refuse(
    std::uint8_t opcode, std::uint8_t asc, int times = 1, int skip = 0,
    std::uint8_t senseKey = platform::sim::kSenseIllegalRequest) {
  return {opcode, platform::sim::DriveAnswer::Check(senseKey, asc, 0), times, skip};
}

// The loader a drive of each family runs (INQUIRY product while updating): the family's
// last row, whose id no other family shares.
inline std::string LoaderOfFamily(int family) {
  std::string id;
  for (const firmware::LoaderRow* row = firmware::LoaderTable; row->loaderId; ++row)
    if (row->family == family) id = row->loaderId;
  return id;
}

// Sample firmware of a type-code row as the drive's flash. A 3-character code stands in the
// drive's block followed by NULs, the way those drives report it (longer codes are compared
// over 4 characters only and keep the sample's blanks).
inline firmware::ImageBytes FlashImageOfRow(int row, std::uint32_t seed) {
  firmware::ImageBytes image = firmware::MakeSampleImage(row, seed);
  const firmware::TypeCodeRow& code = firmware::TypeCodeTable[row];
  const std::size_t length = std::string(code.code).size();
  for (std::size_t at = length; length < 4 && at < 6; ++at)
    image[code.codeOffset + at] = 0;
  return image;
}

inline FlashDrive::Setup DriveOfRow(int row, std::uint32_t seed) {
  const firmware::TypeCodeRow& code = firmware::TypeCodeTable[row];
  FlashDrive::Setup setup;
  setup.identity = {"VAREL   ", "CD-RW KX4840A   ", "1.00"};
  setup.loaderProduct = LoaderOfFamily(code.family);
  setup.idBlockAddress = code.codeOffset;
  const auto image = FlashImageOfRow(row, seed);
  setup.flash.assign(image.begin(), image.end());
  return setup;
}

// A whole program run on a simulated machine: one drive reached over the chosen transport,
// the dialog on the recording view, time virtual.
class UpdateRig : public ui::DialogFixture {
 public:
  explicit UpdateRig(scsi::TransportKind kind, platform::FileSystem* ownFiles = nullptr)
      : DialogFixture(kind == scsi::TransportKind::Aspi ? platform::kFamilyWithAspiManager
                                                        : platform::kFamilyWithPassThrough,
                      "/usr/bin/zentor", ownFiles),
        kind_(kind) {
    dialog.drives().transportKind = kind;
    if (kind == scsi::TransportKind::Aspi)
      scsi::LoadAspiManagerAtStartup(platform, dialog.drives());
  }

  FlashDrive& Attach(FlashDrive::Setup setup) {
    drive = std::make_shared<FlashDrive>(std::move(setup), platform.clock());
    switch (kind_) {
      case scsi::TransportKind::Aspi:
        platform.bus().AttachAt(0, 1, drive);
        break;
      case scsi::TransportKind::CdromDevice:
        platform.bus().Attach(platform::sim::SimBus::CdromName(1), drive);
        break;
      case scsi::TransportKind::DriveLetter:
        platform.bus().Attach(platform::sim::SimBus::DriveLetterName('f'), drive);
        break;
    }
    return *drive;
  }

  // The file as the update file of its row: stored form for scrambled rows.
  void PutFirmwareFile(const std::string& name, int row, const firmware::ImageBytes& image) {
    files.Put(name, *firmware::SampleFileBytes(row, image));
  }

  // What the user does: the lists filled as at start-up, the first drive and file taken,
  // the backup box ticked when asked, Next, then Start.
  void PressStart(bool backup = false, bool listDrives = true) {
    ChooseFirstDriveAndFile(backup, listDrives);
    view.Click(ui::kNextStartButton);
    view.Click(ui::kNextStartButton);
  }

  void ChooseFirstDriveAndFile(bool backup = false, bool listDrives = true) {
    dialog.FillSourceFileList();
    if (listDrives) {
      for (const std::string& label : scsi::ScanDrives(dialog.drives())) {
        view.AddListEntry(ui::kTargetDriveList, label);
      }
    }
    view.SelectListEntry(ui::kTargetDriveList, 0);
    dialog.WizardStep = StepSelectFiles;
    dialog.ShowStep();
    if (backup) view.Click(ui::kBackupCheckBox);
  }

  // The commands with this opcode the drive received, in order.
  std::vector<const platform::sim::ReceivedCommand*> Commands(std::uint8_t opcode) const {
    std::vector<const platform::sim::ReceivedCommand*> found;
    for (const auto& command : drive->received())
      if (command.cdb[0] == opcode) found.push_back(&command);
    return found;
  }
  int Count(std::uint8_t opcode) const { return static_cast<int>(Commands(opcode).size()); }

  std::shared_ptr<FlashDrive> drive;

 private:
  scsi::TransportKind kind_;
};

}  // namespace zentor::update::test_support
