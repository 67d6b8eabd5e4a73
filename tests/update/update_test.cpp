// SPDX-License-Identifier: GPL-2.0-or-later
// Whole updates on virtual drives, as a user runs them: Next, Start, and the outcome in the
// dialog, checked against what the drive really received and holds afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <map>
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
using Bytes = std::vector<std::uint8_t>;

constexpr int kRow = 35;  // family 8
constexpr int kDrivesOwnFlash = -1;

Bytes FlashBytes(const firmware::ImageBytes& image) {
  return {image.begin(), image.end()};
}

// The bar's first positions: 0, 1, ... up to `top`, then 0 again.
testing::AssertionResult BarRisesOneStepAtATimeToThenRestarts(const UpdateRig& run, int top) {
  std::vector<int> expected(static_cast<std::size_t>(top) + 1);
  std::iota(expected.begin(), expected.end(), 0);
  expected.push_back(0);
  const auto& shown = run.view.positions;
  if (shown.size() >= expected.size() && std::equal(expected.begin(), expected.end(), shown.begin()))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the bar went " << testing::PrintToString(shown);
}

class Update : public testing::TestWithParam<TransportKind> {};

TEST_P(Update, EveryStoredFamilyIsFlashedAndItsBackupRestoresTheOldFirmware) {
  for (int row : {7, 15, 25, 35}) {  // the first rows of the families with stored files
    SCOPED_TRACE(row);
    const auto fresh = firmware::MakeSampleImage(row, 2);
    UpdateRig run(GetParam());
    FlashDrive& drive = run.Attach(DriveOfRow(row, 1));
    const auto old = drive.flash();
    run.PutFirmwareFile("new.vrl", row, fresh);
    run.PressStart(/*backup=*/true);

    ASSERT_EQ(run.dialog.WizardStep, StepCompleted);
    EXPECT_EQ(drive.flash(), FlashBytes(fresh));
    // Family 5 drives report the family-4 stem and are told apart by promotion only.
    EXPECT_EQ(drive.flashStarts(), std::vector<bool>{row == 7});
    // The read-out shows its own step and fills the bar to 64 before the transfer resets it.
    const auto steps = run.view.steps;
    const auto backingUp = std::ranges::find(steps, StepBackingUp);
    ASSERT_NE(backingUp, steps.end());
    EXPECT_EQ(*(backingUp + 1), StepTransferring);
    EXPECT_TRUE(BarRisesOneStepAtATimeToThenRestarts(run, 64));
    EXPECT_EQ(run.view.positions.back(), 120);
    EXPECT_EQ(run.platform.bus().openHandleCount(), 0u);
    ASSERT_TRUE(run.files.files.count("CDRWFW00.VRL"));

    UpdateRig restore(GetParam());  // the next run flashes the backup back
    FlashDrive& updated = restore.Attach(DriveOfRow(row, 1));
    restore.files.Put("CDRWFW00.VRL", run.files.files["CDRWFW00.VRL"]);
    restore.PressStart();
    ASSERT_EQ(restore.dialog.WizardStep, StepCompleted);
    EXPECT_EQ(updated.flash(), old);
  }
}

INSTANTIATE_TEST_SUITE_P(Transports, Update,
                         testing::Values(TransportKind::CdromDevice, TransportKind::DriveLetter,
                                         TransportKind::Aspi));

// One whole run of the table below: a family-8 drive (unless the row says otherwise), the
// update file "new.vrl" of fresh firmware, Next and Start.
struct RunCase {
  const char* name;
  int driveRow = kRow;
  int fileRow = kRow;  // kDrivesOwnFlash: the drive's flash as "old.bin"
  void (*change)(FlashDrive::Setup&) = nullptr;
  std::vector<InjectedFault> faults = {};
  bool backup = false;
  bool listDrives = true;
  std::function<void(UpdateRig&)> before = nullptr;  // between the choice and Next
  int step = StepCompleted;
  std::map<std::uint8_t, int> sent = {};  // how many commands of an opcode reached the drive
  std::function<void(UpdateRig&)> check = nullptr;  // what else the row shows
};

const std::map<std::uint8_t, int> kNoWrite = {
    {kOpLongBlock, 0}, {kOpShortBlock, 0}, {kOpEndTransfer, 0}, {kOpStartUpdate, 0}};
std::map<std::uint8_t, int> With(std::map<std::uint8_t, int> counts,
                                 const std::map<std::uint8_t, int>& more) {
  for (const auto& [opcode, count] : more) counts[opcode] = count;
  return counts;
}
// The new firmware of every run, made once (and not during static initialisation).
const firmware::ImageBytes& Fresh() {
  static const firmware::ImageBytes image = firmware::MakeSampleImage(kRow, 2);
  return image;
}

// Blocks of 3072 bytes and a 1024-byte tail, the bar one step per accepted block.
void LargeLayout(UpdateRig& run) {
  std::vector<int> lengths;
  for (const auto* command : run.Commands(kOpLongBlock)) {
    EXPECT_EQ(command->transferLength, 16384u);
    if (command->answer.kind == DriveAnswer::Kind::Good)
      lengths.push_back(command->cdb[6] << 8 | command->cdb[7]);
  }
  ASSERT_EQ(lengths.size(), 342u);
  EXPECT_TRUE(std::all_of(lengths.begin(), lengths.end() - 1, [](int n) { return n == 3072; }));
  EXPECT_EQ(lengths.back(), 1024);
  EXPECT_TRUE(BarRisesOneStepAtATimeToThenRestarts(run, 341));  // the polling restarts it
}

// A family without a stored form is backed up as read: block after block from address 0
// (after the identification block's read), saved as it stands.
void PlainReadOut(UpdateRig& run) {
  EXPECT_EQ(run.files.files["CDRWFW00.BIN"], run.drive->flash());
  const auto reads = run.Commands(kOpReadFlash);
  for (std::size_t n = 1; n < reads.size(); ++n) {
    const Bytes& cdb = reads[n]->cdb;
    EXPECT_EQ(std::uint32_t(cdb[2] << 24 | cdb[3] << 16 | cdb[4] << 8 | cdb[5]), (n - 1) * 16384);
  }
}

// "Pass Type" ticked with the file's short id as the password.
void PassType(UpdateRig& run) {
  run.view.SetVisible(ui::kPassTypeCheckBox, true);
  run.view.QueuePasswordAnswer({true, run.dialog.fileShortId.data()});
  run.view.Click(ui::kPassTypeCheckBox);
}
void OtherLongId(FlashDrive::Setup& s) {
  ++s.flash[0x8004 + 6 + 9];
}
void DoneAtOnce(FlashDrive::Setup& s) {
  s.phaseMs = {0, 0, 0, 0};
}
int PollCycles(UpdateRig& run) {
  return static_cast<int>(std::ranges::count(run.platform.clock().sleeps(), 580u));
}

// clang-format off
const RunCase kRuns[] = {
    // Identification.
    {.name = "loader not in the table: the loader started twice, with pauses, before INQUIRY",
     .change = [](FlashDrive::Setup& s) { s.loaderProduct = "KX-LOADER Z9    "; },
     .step = StepNoUpdateMode, .sent = With(kNoWrite, {{kOpReadFlash, 0}}),
     .check = [](UpdateRig& run) {
       Bytes opcodes;
       for (const auto& command : run.drive->received()) opcodes.push_back(command.cdb[0]);
       EXPECT_EQ(opcodes, (Bytes{kOpInquiry, kOpLoader, kOpLoader, kOpInquiry}));  // the scan's first
       for (const auto* command : run.Commands(kOpLoader)) EXPECT_EQ(command->cdb[9], 0x40);
       EXPECT_EQ(run.platform.clock().sleeps(), (std::vector<std::uint32_t>{200, 200}));
     }},
    {.name = "with no drive listed Start sends nothing", .listDrives = false,
     .before = [](UpdateRig& run) {  // the same drive where an empty label would point
       run.platform.bus().Attach(platform::sim::SimBus::CdromName(0), run.drive);
     },
     .step = StepNoUpdateMode,
     .check = [](UpdateRig& run) {
       EXPECT_TRUE(run.drive->received().empty());
       EXPECT_EQ(run.platform.holdsTaken(), 0);  // the machine is not kept up for nothing
     }},
    {.name = "a drive another program holds: refused before any command, and told why",
     .before = [](UpdateRig& run) { run.drive->SetHeldElsewhere(true); },
     .step = StepNoUpdateMode, .sent = With(kNoWrite, {{kOpLoader, 0}}),
     .check = [](UpdateRig& run) { EXPECT_EQ(run.view.MessageBoxes().size(), 1u); }},
    {.name = "identification block holds no known code",
     .change = [](FlashDrive::Setup& s) { s.flash[0x8004] = 'Q'; },
     .step = StepNoUpdateMode, .sent = kNoWrite},
    {.name = "long ids differ in one byte",
     .change = [](FlashDrive::Setup& s) { ++s.flash[0x8004 + 6 + 9 + 3]; },
     .step = StepTypeCodeDiffers, .sent = kNoWrite},
    // Pass Type lets a file of another variant (same stem) through, only with its password
    // (which passwords and ids match is the identity check's own table).
    {.name = "another variant, the password", .driveRow = kRow + 1, .change = OtherLongId,
     .before = PassType},
    {.name = "Update Loader ticked: the flash start asks for the loader too",
     .before = [](UpdateRig& run) {
       run.view.SetVisible(ui::kUpdateLoaderCheckBox, true);
       run.view.Click(ui::kUpdateLoaderCheckBox);
     },
     .check = [](UpdateRig& run) { EXPECT_EQ(run.drive->flashStarts(), std::vector<bool>{true}); }},
    // Backup.
    {.name = "the 20th backup read fails", .faults = {Refuse(kOpReadFlash, 0x11, 1, 20)},
     .backup = true, .step = StepBackupFailed, .sent = kNoWrite},
    // The alternate read that answers would give the identification block, not the flash.
    {.name = "the flash read refused as unknown half-way through the read-out",
     .faults = {Refuse(kOpReadFlash, 0x20, 1, 30)}, .backup = true, .step = StepBackupFailed,
     .sent = kNoWrite},
    // Only a drive that answers the alternate read is one that cannot be read out.
    {.name = "flash read and alternate read both refused as unknown",
     .change = [](FlashDrive::Setup& s) { s.flashReadSupported = false; },
     .faults = {Refuse(kOpAlternateRead, 0x20)}, .step = StepNoUpdateMode, .sent = kNoWrite,
     .check = [](UpdateRig& run) { EXPECT_EQ(run.dialog.FlashReadUnsupported, 0); }},
    {.name = "the read-out has no packed form",
     .change = [](FlashDrive::Setup& s) { s.flash[0x5000] = 0x12; }, .backup = true,
     .step = StepBackupFailed, .sent = kNoWrite},
    {.name = "the backup file cannot be written", .backup = true,
     .before = [](UpdateRig& run) { run.files.writeErrors["CDRWFW00.VRL"] = ENOSPC; },
     .step = StepBackupFailed, .sent = kNoWrite,
     .check = [](UpdateRig& run) { EXPECT_EQ(run.drive->receivedBytes(), 0u); }},
    {.name = "a drive that cannot be read out is updated after one notice",
     .change = [](FlashDrive::Setup& s) { s.flashReadSupported = false; }, .backup = true,
     .sent = {{kOpReadFlash, 1}, {kOpAlternateRead, 1}},
     .check = [](UpdateRig& run) {
       EXPECT_EQ(run.view.MessageBoxes(), (std::vector<ui::MessageBoxRequest>{
           {"I could not back up the F/W in selected model. I continue the updating.", "Back up",
            ui::MessageIcon::Information, ui::MessageButtons::Ok}}));
       EXPECT_EQ(run.dialog.FlashReadUnsupported, 1);
       EXPECT_EQ(run.files.files.size(), 1u);  // only the firmware file
     }},
    // Families without a stored form are backed up as read: 32 reads for the small flash, 64
    // for the large one, from address 0 on; neither has an update file that loads.
    {.name = "the small flash backed up as read", .driveRow = 0, .fileRow = kDrivesOwnFlash,
     .backup = true, .step = StepUpdateFailed, .sent = {{kOpReadFlash, 33}}, .check = PlainReadOut},
    // Transfer.
    {.name = "the large layout", .sent = {{kOpLongBlock, 342}}, .check = LargeLayout},
    {.name = "a drive without the long form takes every block in the short one",
     .change = [](FlashDrive::Setup& s) { s.longBlockFormSupported = false; },
     .sent = {{kOpLongBlock, 1}, {kOpShortBlock, 342}},
     .check = [](UpdateRig& run) {
       EXPECT_EQ(run.Commands(kOpShortBlock).front()->cdb, (Bytes{0xE2, 0, 0, 0, 0, 0, 0x0C, 0, 0, 0}));
       EXPECT_EQ(run.Commands(kOpShortBlock).back()->cdb[6], 0x04);
     }},
    {.name = "a block the drive is never ready for", .faults = {Refuse(kOpLongBlock, 0x3A, -1)},
     .step = StepUpdateFailed, .sent = With(kNoWrite, {{kOpLongBlock, 1 + kMaxBusyResends}})},
    {.name = "the end of transfer tried with selectors 0, 1, 2",
     .change = [](FlashDrive::Setup& s) { s.acceptedEndSelectors = {2}; },
     .sent = {{kOpEndTransfer, 3}, {kOpStartUpdate, 1}},
     .check = [](UpdateRig& run) {
       Bytes selectors;
       for (const auto* command : run.Commands(kOpEndTransfer)) selectors.push_back(command->cdb[3]);
       EXPECT_EQ(selectors, (Bytes{0, 1, 2}));
     }},
    // Polling: polls fall 580 ms apart after the flash start; these phase lengths make the
    // drive report phases 0, 0, 1, 1, 2, 3 and then finish.
    {.name = "each phase shown once",
     .change = [](FlashDrive::Setup& s) { s.phaseMs = {1200, 1160, 580, 580}; },
     .check = [](UpdateRig& run) {
       const auto steps = run.view.steps;
       EXPECT_EQ(std::vector<int>(std::ranges::find(steps, StepTransferring) + 1, steps.end()),
                 (std::vector<int>{StepConfirmingSum, StepErasing, StepWriting, StepFinalSum,
                                   StepCompleted}));
       const auto& positions = run.view.positions;
       EXPECT_EQ(std::vector<int>(positions.end() - 8, positions.end()),
                 (std::vector<int>{0, 4, 5, 25, 26, 40, 90, 120}));
     }},
    {.name = "ten not-ready answers within one poll cycle", .change = DoneAtOnce,
     .faults = {Refuse(kOpTestUnitReady, 0x3A, 9, 0, kSenseNotReady), {kOpTestUnitReady, DriveAnswer::Good(), 1, 0}},
     .sent = {{kOpTestUnitReady, 20}},
     .check = [](UpdateRig& run) { EXPECT_EQ(PollCycles(run), 2); }},
    // ASC 0x20: the probe was not understood, so poll again.
    {.name = "an invalid command answer to a probe", .change = DoneAtOnce,
     .faults = {Refuse(kOpTestUnitReady, 0x20)}, .sent = {{kOpTestUnitReady, 11}},
     .check = [](UpdateRig& run) { EXPECT_EQ(PollCycles(run), 2); }},
    {.name = "an erase of ten minutes",
     .change = [](FlashDrive::Setup& s) { s.phaseMs = {580, 600'000, 580, 580}; }},
    // It answers again later, but the program gives up three minutes after it fell silent.
    {.name = "silent after the flash start", .change = DoneAtOnce,
     .faults = {{kOpTestUnitReady, DriveAnswer::None(), 400, 0}, {kOpRequestSense, DriveAnswer::None(), 400, 0}},
     .step = StepUpdateFailed, .sent = {{kOpStartUpdate, 1}},
     .check = [](UpdateRig& run) {
       EXPECT_GE(run.platform.clock().NowMs(), 180'000u);
       EXPECT_LT(run.platform.clock().NowMs(), 190'000u);
     }},
};
// clang-format on

TEST(WholeRun, EndsOnItsStepHavingSentWhatItShould) {
  for (const RunCase& c : kRuns) {
    SCOPED_TRACE(c.name);
    UpdateRig run(TransportKind::CdromDevice);
    FlashDrive::Setup setup = DriveOfRow(c.driveRow, 1);
    if (c.change) c.change(setup);
    FlashDrive& drive = run.Attach(setup);
    for (const InjectedFault& fault : c.faults)
      drive.InjectFault(fault);
    if (c.fileRow == kDrivesOwnFlash) {
      run.files.Put("old.bin", setup.flash);
    } else {
      run.PutFirmwareFile("new.vrl", c.fileRow, Fresh());
    }
    run.ChooseFirstDriveAndFile(c.backup, c.listDrives);
    if (c.before) c.before(run);
    run.view.Click(ui::kNextStartButton);
    run.view.Click(ui::kNextStartButton);

    EXPECT_EQ(run.dialog.WizardStep, c.step);
    for (const auto& [opcode, count] : c.sent)
      EXPECT_EQ(run.Count(opcode), count) << int{opcode};
    if (c.step == StepCompleted) {
      EXPECT_EQ(drive.flash(), FlashBytes(Fresh()));
    } else if (run.Count(kOpStartUpdate) == 0) {
      EXPECT_EQ(drive.flash(), setup.flash);
    }
    // A backup is kept exactly when it was asked for and read out whole.
    const bool backedUp = c.backup && c.step != StepBackupFailed && setup.flashReadSupported;
    const std::string backup = c.fileRow == kDrivesOwnFlash ? "CDRWFW00.BIN" : "CDRWFW00.VRL";
    ASSERT_EQ(run.files.files.count(backup), backedUp ? 1u : 0u);
    EXPECT_EQ(run.platform.bus().openHandleCount(), 0u);
    EXPECT_TRUE(run.view.IsEnabled(ui::kCloseButton));
    EXPECT_EQ(run.view.IsEnabled(ui::kNextStartButton),
              c.step == StepNoUpdateMode || c.step == StepTypeCodeDiffers);
    if (c.check) c.check(run);
  }
}

}  // namespace
}  // namespace zentor::update
