// The update's finer rules, each shown on a whole run: what identification sends, how blocks,
// forms and the end of transfer go, what the polling shows, and the backup's edge cases.
#include <gtest/gtest.h>

#include "tests/update/update_rig.h"
#include "ui/control_ids.h"
#include "update/wizard_step.h"

namespace zentor::update {
namespace {

using platform::sim::DriveAnswer;
using platform::sim::InjectedFault;
using scsi::TransportKind;
using namespace test_support;  // the rig, drives of a row, opcodes, Refuse

constexpr int kRow = 35;  // family 8

InjectedFault NotReady(std::uint8_t opcode, int times, int skip = 0) {
  return Refuse(opcode, 0x3A, times, skip, platform::sim::kSenseNotReady);
}

class UpdateEdges : public testing::TestWithParam<TransportKind> {
 protected:
  // A family-8 drive with the matching file "new.vrl" of fresh firmware.
  FlashDrive& Prepare(FlashDrive::Setup setup) {
    FlashDrive& drive = run.Attach(std::move(setup));
    run.PutFirmwareFile("new.vrl", kRow, fresh);
    return drive;
  }
  std::vector<const platform::sim::ReceivedCommand*> Commands(std::uint8_t opcode) const {
    std::vector<const platform::sim::ReceivedCommand*> found;
    for (const auto& command : run.drive->received()) {
      if (command.cdb[0] == opcode) found.push_back(&command);
    }
    return found;
  }
  int Sleeps(std::uint32_t ms) {
    return static_cast<int>(std::ranges::count(run.platform.clock().sleeps(), ms));
  }

  UpdateRig run{GetParam()};
  firmware::ImageBytes fresh = firmware::MakeSampleImage(kRow, 2);
};

TEST_P(UpdateEdges, IdentificationStartsTheLoaderTwiceWithPausesBeforeInquiry) {
  FlashDrive::Setup setup = DriveOfRow(kRow, 1);
  setup.loaderProduct = "KX-LOADER Z9    ";
  Prepare(setup);
  run.PressStart();
  EXPECT_EQ(run.dialog.WizardStep, StepNoUpdateMode);
  // The scan's INQUIRY comes first.
  EXPECT_EQ(run.OpcodesFrom(1), (std::vector<std::uint8_t>{kLoader, kLoader, kInquiry}));
  for (const auto* command : Commands(kLoader))
    EXPECT_EQ(command->cdb[9], 0x40);
  EXPECT_EQ(run.platform.clock().sleeps(), (std::vector<std::uint32_t>{200, 200}));
}

TEST_P(UpdateEdges, WithNoDriveListedStartSendsNothing) {
  Prepare(DriveOfRow(kRow, 1));
  // The same drive also sits where an empty label would point.
  run.platform.bus().Attach(platform::sim::SimBus::CdromName(0), run.drive);
  run.platform.bus().Attach(platform::sim::SimBus::DriveLetterName('d'), run.drive);
  run.platform.bus().AttachAt(0, 0, run.drive);
  run.PressStart(/*backup=*/false, /*listDrives=*/false);
  EXPECT_EQ(run.dialog.WizardStep, StepNoUpdateMode);
  EXPECT_TRUE(run.drive->received().empty());
}

TEST_P(UpdateEdges, ALoaderOfTwoRowsIsTriedUnderBothBeforeIdentificationFails) {
  FlashDrive::Setup setup = DriveOfRow(kRow, 1);
  setup.loaderProduct = "KX-LOADER G7    ";
  setup.flash[0x8004] = 'Q';
  Prepare(setup);
  run.PressStart();
  EXPECT_EQ(run.dialog.WizardStep, StepNoUpdateMode);
  ASSERT_EQ(Commands(kFlashRead).size(), 2u);
  for (const auto* read : Commands(kFlashRead)) {
    EXPECT_EQ(read->cdb,
              (std::vector<std::uint8_t>{0xE3, 0, 0, 0, 0x80, 0x04, 0, 0x40, 0, 0, 0, 0}));
  }
}

TEST_P(UpdateEdges, AFailedIdentificationKeepsThePreviousDrivesFields) {
  FlashDrive::Setup setup = DriveOfRow(kRow, 1);
  ++setup.flash[0x8004 + 6 + 9];  // the long id differs: identified, but no match
  FlashDrive& drive = Prepare(setup);
  run.PressStart();
  ASSERT_EQ(run.dialog.WizardStep, StepTypeCodeDiffers);
  const update::UpdateState identified = run.dialog;

  drive.InjectFault({kFlashRead, DriveAnswer::Check(3, 0x11, 0), 1, 0});
  run.view.Click(ui::kNextStartButton);  // back to 3
  run.view.Click(ui::kNextStartButton);  // 4
  run.view.Click(ui::kNextStartButton);  // Start
  EXPECT_EQ(run.dialog.WizardStep, StepNoUpdateMode);
  EXPECT_EQ(run.dialog.driveTypeCode, identified.driveTypeCode);
  EXPECT_EQ(run.dialog.driveShortId, identified.driveShortId);
  EXPECT_EQ(run.dialog.driveLongId, identified.driveLongId);
  EXPECT_EQ(std::string(identified.driveTypeCode.data()), "KXR80 ");
}

// Blocks of 3072 bytes, a 1024-byte tail, the bar one step per accepted block: also when a
// block had to be sent again because the drive was not ready for it.
TEST_P(UpdateEdges, TheLargeLayoutMovesTheBarOncePerBlock) {
  for (int busyBlock : {-1, 5}) {
    SCOPED_TRACE(busyBlock);
    UpdateRig fresh_run(GetParam());
    FlashDrive& drive = fresh_run.Attach(DriveOfRow(kRow, 1));
    fresh_run.PutFirmwareFile("new.vrl", kRow, fresh);
    if (busyBlock >= 0) drive.InjectFault(NotReady(kBlockLong, 1, busyBlock));
    fresh_run.PressStart();
    ASSERT_EQ(fresh_run.dialog.WizardStep, StepCompleted);

    std::vector<int> lengths;
    for (const auto& command : drive.received()) {
      if (command.cdb[0] != kBlockLong) continue;
      EXPECT_EQ(command.transferLength, 16384u);
      lengths.push_back(command.cdb[6] << 8 | command.cdb[7]);
    }
    const std::size_t sends = busyBlock >= 0 ? 343 : 342;
    ASSERT_EQ(lengths.size(), sends);
    EXPECT_TRUE(std::all_of(lengths.begin(), lengths.end() - 1, [](int n) { return n == 3072; }));
    EXPECT_EQ(lengths.back(), 1024);

    const auto& positions = fresh_run.view.positions;
    ASSERT_GE(positions.size(), 343u);
    for (int block = 0; block <= 341; ++block)
      EXPECT_EQ(positions[block], block);
    EXPECT_EQ(positions[342], 0);  // the polling starts the bar again
    EXPECT_EQ(drive.flash(), std::vector<std::uint8_t>(fresh.begin(), fresh.end()));
  }
}

TEST_P(UpdateEdges, ADriveWithoutTheLongFormTakesEveryBlockInTheShortOne) {
  FlashDrive::Setup setup = DriveOfRow(kRow, 1);
  setup.longBlockFormSupported = false;
  FlashDrive& drive = Prepare(setup);
  run.PressStart();
  ASSERT_EQ(run.dialog.WizardStep, StepCompleted);
  EXPECT_EQ(run.Count(kBlockLong), 1);
  ASSERT_EQ(run.Count(kBlockShort), 342);
  EXPECT_EQ(Commands(kBlockShort).front()->cdb,
            (std::vector<std::uint8_t>{0xE2, 0, 0, 0, 0, 0, 0x0C, 0x00, 0, 0}));
  EXPECT_EQ(Commands(kBlockShort).back()->cdb[6], 0x04);
  EXPECT_EQ(drive.flash(), std::vector<std::uint8_t>(fresh.begin(), fresh.end()));
}

TEST_P(UpdateEdges, TheEndOfTransferIsTriedWithSelectorsZeroOneTwo) {
  FlashDrive::Setup setup = DriveOfRow(kRow, 1);
  setup.acceptedEndSelectors = {2};
  Prepare(setup);
  run.PressStart();
  ASSERT_EQ(run.dialog.WizardStep, StepCompleted);
  std::vector<int> selectors;
  for (const auto* command : Commands(kEndTransfer))
    selectors.push_back(command->cdb[3]);
  EXPECT_EQ(selectors, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(run.Count(kFlashStart), 1);
}

// Polls fall at 580 ms intervals after the flash start; these phase lengths make the drive
// report phases 0, 0, 1, 1, 2, 3 and then finish.
TEST_P(UpdateEdges, EachPhaseIsShownOnceAndEveryProbeFollowsARequestSenseOnCdromDevices) {
  FlashDrive::Setup setup = DriveOfRow(kRow, 1);
  setup.phaseMs = {1200, 1160, 580, 580};
  Prepare(setup);
  run.PressStart();
  ASSERT_EQ(run.dialog.WizardStep, StepCompleted);

  const auto& steps = run.view.steps;
  const auto transfer = std::ranges::find(steps, StepTransferring);
  ASSERT_NE(transfer, steps.end());
  EXPECT_EQ(
      std::vector<int>(transfer + 1, steps.end()),
      (std::vector<int>{StepConfirmingSum, StepErasing, StepWriting, StepFinalSum, StepCompleted}));
  // Positions of the polling: each cycle sends, then the phase's position at a new phase.
  const auto& positions = run.view.positions;
  const std::vector<int> polling(positions.end() - 8, positions.end());
  EXPECT_EQ(polling, (std::vector<int>{0, 4, 5, 25, 26, 40, 90, 120}));

  std::vector<std::uint8_t> probes;
  for (std::uint8_t opcode : run.OpcodesFrom(0)) {
    if (opcode == kRequestSense || opcode == kTestUnitReady) probes.push_back(opcode);
  }
  const bool cdrom = GetParam() == TransportKind::CdromDevice;
  ASSERT_FALSE(probes.empty());
  for (std::size_t i = 0; i < probes.size(); ++i) {
    EXPECT_EQ(probes[i], cdrom && i % 2 == 0 ? kRequestSense : kTestUnitReady) << i;
  }
}

// What the polling makes of the drive's answers after the flash start, and of its silence.
TEST_P(UpdateEdges, ThePollingWaitsForTheDriveAndGivesUpOnlyOnASilentOne) {
  constexpr std::array<std::uint32_t, 4> kDoneAtOnce = {0, 0, 0, 0};
  constexpr std::uint64_t kThreeMinutes = 180'000;
  auto silent = [](int probes) {
    return std::vector<InjectedFault>{{kTestUnitReady, DriveAnswer::None(), probes, 0},
                                      {kRequestSense, DriveAnswer::None(), probes, 0}};
  };
  struct Case {
    const char* name;
    std::array<std::uint32_t, 4> phaseMs;
    std::vector<InjectedFault> faults;
    int step;
    int probes = -1;      // TEST UNIT READY commands, when it matters
    int pollCycles = -1;  // 580 ms pauses, when it matters
    bool gaveUp = false;  // ended three minutes after the drive fell silent
  };
  const Case cases[] = {
      {"ten not-ready answers must come within one poll cycle",
       kDoneAtOnce,
       {NotReady(kTestUnitReady, 9), {kTestUnitReady, DriveAnswer::Good(), 1, 0}},
       StepCompleted,
       20,
       2},
      // ASC 0x20 means the probe was not understood: poll again.
      {"an invalid command answer to a probe",
       kDoneAtOnce,
       {Refuse(kTestUnitReady, 0x20)},
       StepCompleted,
       11,
       2},
      {"an erase of ten minutes", {580, 600'000, 580, 580}, {}, StepCompleted},
      {"silent for twenty probes, then finished", kDoneAtOnce, silent(20), StepCompleted, 30},
      // Answers of its own come again later, but the program has given up by then.
      {"silent after the flash start", kDoneAtOnce, silent(400), StepUpdateFailed, -1, -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UpdateRig poll(GetParam());
    FlashDrive::Setup setup = DriveOfRow(kRow, 1);
    setup.phaseMs = c.phaseMs;
    FlashDrive& drive = poll.Attach(setup);
    poll.PutFirmwareFile("new.vrl", kRow, fresh);
    for (const InjectedFault& fault : c.faults)
      drive.InjectFault(fault);
    poll.PressStart();

    EXPECT_EQ(poll.dialog.WizardStep, c.step);
    EXPECT_TRUE(poll.view.IsEnabled(ui::kCloseButton));
    EXPECT_EQ(poll.Count(kFlashStart), 1);
    if (c.probes >= 0) {
      EXPECT_EQ(poll.Count(kTestUnitReady), c.probes);
    }
    if (c.pollCycles >= 0) {
      EXPECT_EQ(std::ranges::count(poll.platform.clock().sleeps(), 580u), c.pollCycles);
    }
    // Before the polling only a few pauses of 200 ms pass (and short waits on ASPI); the
    // last round may wait up to a poll interval and a command's time-out more.
    const std::uint64_t now = poll.platform.clock().NowMs();
    if (c.gaveUp) {
      EXPECT_GE(now, kThreeMinutes);
      EXPECT_LT(now, kThreeMinutes + 10'000);
    }
  }
}

// "Pass Type" lets a file of another variant (same 4-character stem) through, but only
// with its password; a file of the drive's own type code must carry the drive's ids.
TEST_P(UpdateEdges, PassTypeOpensAnotherVariantOnlyWithThePassword) {
  struct Case {
    const char* name;
    int driveRow;
    const char* typed;  // nullptr: the box is not ticked
    int step;
  };
  const Case cases[] = {
      {"another variant, box not ticked", kRow + 1, nullptr, StepTypeCodeDiffers},
      {"another variant, the password (the file's short id)", kRow + 1, "", StepCompleted},
      {"another variant, a wrong password", kRow + 1, "XXXXXXXX", StepTypeCodeDiffers},
      {"the drive's own type code, other ids, the password", kRow, "", StepTypeCodeDiffers},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UpdateRig pass(GetParam());
    FlashDrive::Setup setup = DriveOfRow(c.driveRow, 1);
    ++setup.flash[0x8004 + 6 + 9];  // a long id the file does not have
    FlashDrive& drive = pass.Attach(setup);
    pass.PutFirmwareFile("new.vrl", kRow, fresh);
    pass.ChooseFirstDriveAndFile();
    if (c.typed) {
      const std::string shortId(pass.dialog.fileShortId.data());
      pass.view.SetVisible(ui::kPassTypeCheckBox, true);
      pass.view.QueuePasswordAnswer({true, *c.typed ? std::string(c.typed) : shortId});
      pass.view.Click(ui::kPassTypeCheckBox);
    }
    pass.view.Click(ui::kNextStartButton);
    pass.view.Click(ui::kNextStartButton);

    EXPECT_EQ(pass.dialog.WizardStep, c.step);
    const auto expected = c.step == StepCompleted
                              ? std::vector<std::uint8_t>(fresh.begin(), fresh.end())
                              : setup.flash;
    EXPECT_TRUE(drive.flash() == expected);
  }
}

TEST_P(UpdateEdges, AFamilyFourDriveBelowTheNewerVariantIsNotPromoted) {
  FlashDrive::Setup setup = DriveOfRow(6, 1);  // "KXR41"
  run.Attach(setup);
  run.files.Put("old.bin", setup.flash);
  run.PressStart();
  EXPECT_EQ(run.dialog.driveFamily, 4);
  EXPECT_EQ(run.dialog.ForceLoaderUpdate, 0);
  // Family 4 has no update file that loads; nothing is written.
  EXPECT_EQ(run.dialog.WizardStep, StepUpdateFailed);
  EXPECT_EQ(run.Count(kBlockLong) + run.Count(kBlockShort), 0);
}

TEST_P(UpdateEdges, ADriveThatCannotBeReadOutIsUpdatedWithoutABackupAfterOneNotice) {
  FlashDrive::Setup setup = DriveOfRow(kRow, 1);
  setup.flashReadSupported = false;
  FlashDrive& drive = Prepare(setup);
  run.PressStart(/*backup=*/true);
  ASSERT_EQ(run.dialog.WizardStep, StepCompleted);
  ASSERT_EQ(run.view.MessageBoxes().size(), 1u);
  EXPECT_EQ(run.view.MessageBoxes()[0],
            (ui::MessageBoxRequest{
                "I could not back up the F/W in selected model. I continue the updating.",
                "Back up", ui::MessageIcon::Information, ui::MessageButtons::Ok}));
  EXPECT_EQ(run.dialog.FlashReadUnsupported, 1);
  EXPECT_EQ(run.Count(kFlashRead), 1);
  EXPECT_EQ(run.Count(kAlternateRead), 1);
  EXPECT_EQ(run.files.files.size(), 1u);  // only the firmware file
  EXPECT_EQ(drive.flash(), std::vector<std::uint8_t>(fresh.begin(), fresh.end()));
}

// Families without a stored form are backed up as read: 32 reads for the small flash, 64
// for the large one, from address 0 on.
TEST_P(UpdateEdges, SmallFamiliesAreBackedUpAsThePlainReadOut) {
  for (int row : {0, 5}) {
    SCOPED_TRACE(row);
    UpdateRig plain(GetParam());
    FlashDrive& drive = plain.Attach(DriveOfRow(row, 1));
    plain.files.Put("old.bin", drive.flash());
    plain.PressStart(/*backup=*/true);
    ASSERT_TRUE(plain.files.files.count("CDRWFW00.BIN"));
    EXPECT_EQ(plain.files.files["CDRWFW00.BIN"], drive.flash());

    std::vector<std::uint32_t> addresses;
    for (const auto& command : drive.received()) {
      if (command.cdb[0] != kFlashRead) continue;
      addresses.push_back(static_cast<std::uint32_t>(command.cdb[2] << 24 | command.cdb[3] << 16 |
                                                     command.cdb[4] << 8 | command.cdb[5]));
    }
    const std::size_t reads = row == 0 ? 32 : 64;
    ASSERT_EQ(addresses.size(), 1 + reads);
    for (std::size_t n = 0; n < reads; ++n)
      EXPECT_EQ(addresses[1 + n], n * 16384);
    EXPECT_EQ(plain.dialog.WizardStep, StepUpdateFailed);  // no loadable update for these
  }
}

INSTANTIATE_TEST_SUITE_P(Transports, UpdateEdges,
                         testing::Values(TransportKind::CdromDevice, TransportKind::DriveLetter,
                                         TransportKind::Aspi));

}  // namespace
}  // namespace zentor::update
