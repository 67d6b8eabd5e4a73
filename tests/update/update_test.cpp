// Whole updates on virtual drives, as a user runs them: Next, Start, and the outcome in the
// dialog, checked against what the drive really received and holds afterwards.
#include <gtest/gtest.h>

#include <numeric>

#include "tests/update/update_rig.h"
#include "ui/control_ids.h"
#include "update/wizard_step.h"

namespace zentor::update {
namespace {

using platform::sim::DriveAnswer;
using platform::sim::InjectedFault;
using scsi::TransportKind;
using namespace test_support;  // the rig, drives of a row, opcodes, Refuse

// First rows of the families with stored update files.
constexpr int kStoredFamilyRows[] = {7, 15, 25, 35};

std::vector<std::uint8_t> FlashBytes(const firmware::ImageBytes& image) {
  return {image.begin(), image.end()};
}

class Update : public testing::TestWithParam<TransportKind> {};

TEST_P(Update, EveryStoredFamilyIsFlashedAndItsBackupRestoresTheOldFirmware) {
  for (int row : kStoredFamilyRows) {
    SCOPED_TRACE(row);
    const auto fresh = firmware::MakeSampleImage(row, 2);
    UpdateRig run(GetParam());
    FlashDrive& drive = run.Attach(DriveOfRow(row, 1));
    const auto old = drive.flash();
    run.PutFirmwareFile("new.vrl", row, fresh);
    run.PressStart(/*backup=*/true);

    ASSERT_EQ(run.dialog.WizardStep, StepCompleted);
    EXPECT_NE(run.view.Text(ui::kInformationText).find(" *** OK ** OK ** OK *** "),
              std::string::npos);
    EXPECT_EQ(drive.flash(), FlashBytes(fresh));
    // Family 5 drives report the family-4 stem and are told apart by promotion only.
    EXPECT_EQ(drive.flashStarts(), std::vector<bool>{row == 7});
    EXPECT_EQ(run.view.positions.back(), 120);
    // The read-out shows its own step and fills the bar to 64 before the transfer resets it.
    const auto& steps = run.view.steps;
    const auto backingUp = std::ranges::find(steps, StepBackingUp);
    ASSERT_NE(backingUp, steps.end());
    EXPECT_EQ(*(backingUp + 1), StepTransferring);
    const auto& positions = run.view.positions;
    EXPECT_EQ(std::vector<int>(positions.begin(), positions.begin() + 66), [] {
      std::vector<int> v(65);
      std::iota(v.begin(), v.end(), 0);
      v.push_back(0);
      return v;
    }());
    EXPECT_TRUE(run.view.IsEnabled(ui::kCloseButton));
    EXPECT_FALSE(run.view.IsEnabled(ui::kNextStartButton));
    EXPECT_EQ(run.platform.bus().openHandleCount(), 0u);
    ASSERT_TRUE(run.files.files.count("CDRWFW00.VRL"));

    // The next run flashes the backup back.
    UpdateRig restore(GetParam());
    FlashDrive& updated = restore.Attach(DriveOfRow(row, 1));
    restore.files.Put("CDRWFW00.VRL", run.files.files["CDRWFW00.VRL"]);
    restore.PressStart();
    ASSERT_EQ(restore.dialog.WizardStep, StepCompleted);
    EXPECT_EQ(updated.flash(), old);
  }
}

using DriveChange = void (*)(FlashDrive::Setup&);
void Unchanged(FlashDrive::Setup&) {}

struct FailureCase {
  const char* name;
  bool backup;
  DriveChange change;
  std::vector<InjectedFault> faults;
  int step;
  std::vector<std::uint8_t> neverSent;
  int longBlocks = -1;  // how many 12-byte block commands, when it matters
};

const std::vector<std::uint8_t> kNoWrite = {kBlockLong, kBlockShort, kEndTransfer, kFlashStart};

const FailureCase kFailures[] = {
    {"loader not in the table",
     false,
     [](FlashDrive::Setup& s) { s.loaderProduct = "KX-LOADER Z9    "; },
     {},
     StepNoUpdateMode,
     {kFlashRead, kBlockLong, kBlockShort, kEndTransfer, kFlashStart}},
    {"identification block holds no known code",
     false,
     [](FlashDrive::Setup& s) { s.flash[0x8004] = 'Q'; },
     {},
     StepNoUpdateMode,
     kNoWrite},
    {"long ids differ in one byte",
     false,
     [](FlashDrive::Setup& s) { ++s.flash[0x8004 + 6 + 9 + 3]; },
     {},
     StepTypeCodeDiffers,
     kNoWrite},
    // Good status, fewer bytes: the rest of the buffer is the previous command's.
    {"the identification read comes back short",
     false,
     Unchanged,
     {platform::sim::ShortRead(kFlashRead, 16000)},
     StepNoUpdateMode,
     kNoWrite},
    {"the 20th backup read fails",
     true,
     Unchanged,
     {Refuse(kFlashRead, 0x11, 1, 20)},
     StepBackupFailed,
     kNoWrite},
    {"the 20th backup read comes back one byte short",
     true,
     Unchanged,
     {platform::sim::ShortRead(kFlashRead, 16383, 20)},
     StepBackupFailed,
     kNoWrite},
    // The alternate read that answers would give the identification block, not the flash.
    {"the flash read refused as unknown half-way through the read-out",
     true,
     Unchanged,
     {Refuse(kFlashRead, 0x20, 1, 30)},
     StepBackupFailed,
     kNoWrite},
    {"the read-out has no packed form",
     true,
     [](FlashDrive::Setup& s) { s.flash[0x5000] = 0x12; },
     {},
     StepBackupFailed,
     kNoWrite},
    {"a block refused in both forms",
     false,
     Unchanged,
     {Refuse(kBlockLong, 0x24, 1, 7), Refuse(kBlockShort, 0x24)},
     StepUpdateFailed,
     {kEndTransfer, kFlashStart},
     8},
    {"a block the drive is never ready for",
     false,
     Unchanged,
     {Refuse(kBlockLong, 0x3A, -1)},
     StepUpdateFailed,
     {kBlockShort, kEndTransfer, kFlashStart},
     1 + kMaxBusyResends},
    {"the tail refused, once",
     false,
     Unchanged,
     {Refuse(kBlockLong, 0x3A, 1, 341)},
     StepUpdateFailed,
     {kBlockShort, kEndTransfer, kFlashStart},
     342},
    {"no end of transfer accepted",
     false,
     [](FlashDrive::Setup& s) { s.acceptedEndSelectors = {}; },
     {},
     StepUpdateFailed,
     {kFlashStart}},
    {"the flash start refused",
     false,
     Unchanged,
     {Refuse(kFlashStart, 0x24)},
     StepUpdateFailed,
     {kTestUnitReady, kRequestSense}},
    {"the drive reports a fault while updating",
     false,
     Unchanged,
     {{kTestUnitReady, DriveAnswer::Check(platform::sim::kSenseNotReady, 0x04, 0x01), 1, 0}},
     StepUpdateFailed,
     {}},
};

TEST_P(Update, EachFailureEndsOnItsStepWithoutWhatMustNotFollow) {
  for (const FailureCase& failure : kFailures) {
    SCOPED_TRACE(failure.name);
    constexpr int kRow = 15;
    UpdateRig run(GetParam());
    FlashDrive::Setup setup = DriveOfRow(kRow, 1);
    failure.change(setup);
    FlashDrive& drive = run.Attach(setup);
    for (const InjectedFault& fault : failure.faults)
      drive.InjectFault(fault);
    run.PutFirmwareFile("new.vrl", kRow, firmware::MakeSampleImage(kRow, 2));
    run.PressStart(failure.backup);

    EXPECT_EQ(run.dialog.WizardStep, failure.step);
    for (std::uint8_t opcode : failure.neverSent)
      EXPECT_EQ(run.Count(opcode), 0) << int{opcode};
    if (failure.longBlocks >= 0) {
      EXPECT_EQ(run.Count(kBlockLong), failure.longBlocks);
    }
    // Every fault strikes before the drive erases anything.
    EXPECT_EQ(drive.flash(), setup.flash);
    EXPECT_FALSE(run.files.files.count("CDRWFW00.VRL"));
    EXPECT_EQ(run.platform.bus().openHandleCount(), 0u);
    const bool passedIdentity =
        failure.step != StepNoUpdateMode && failure.step != StepTypeCodeDiffers;
    EXPECT_EQ(run.view.IsEnabled(ui::kNextStartButton), !passedIdentity);
    EXPECT_TRUE(run.view.IsEnabled(ui::kCloseButton));
  }
}

TEST_P(Update, AFailedBackupWriteLeavesNoFileAndNoWrite) {
  UpdateRig run(GetParam());
  FlashDrive& drive = run.Attach(DriveOfRow(25, 1));
  run.PutFirmwareFile("new.vrl", 25, firmware::MakeSampleImage(25, 2));
  run.files.writeErrors["CDRWFW00.VRL"] = ENOSPC;
  run.PressStart(/*backup=*/true);
  EXPECT_EQ(run.dialog.WizardStep, StepBackupFailed);
  EXPECT_EQ(run.Count(kBlockLong) + run.Count(kBlockShort) + run.Count(kFlashStart), 0);
  EXPECT_FALSE(run.files.files.count("CDRWFW00.VRL"));
  EXPECT_EQ(drive.receivedBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Transports, Update,
                         testing::Values(TransportKind::CdromDevice, TransportKind::DriveLetter,
                                         TransportKind::Aspi));

}  // namespace
}  // namespace zentor::update
