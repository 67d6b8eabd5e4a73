// The command builders and the result convention, run unchanged over both back ends: a
// builder never knows which transport carries its command.
#include <gtest/gtest.h>

#include "scsi/drive_access.h"
#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::DataDirection;
using platform::sim::DriveAnswer;
using platform::sim::VirtualDrive;
using testing_support::SimDrives;

class BothTransports : public testing::TestWithParam<TransportKind> {
 protected:
  // The same drive, reached as CD-ROM device 0 and as host adapter 0, target 0.
  std::shared_ptr<VirtualDrive> AttachDrive(std::string product = "CD-RW KX1210A   ") {
    auto drive = sim.NewDrive(std::move(product));
    sim.platform.bus().Attach(platform::sim::SimBus::CdromName(0), drive);
    sim.platform.bus().AttachAt(0, 0, drive);
    return drive;
  }

  SimDrives sim{GetParam()};
};

TEST_P(BothTransports, IdentificationTextEndsAtANulButTheProductIdKeepsAllSixteenBytes) {
  auto drive = AttachDrive();
  const std::string text = "VA      CD-RW KX1210A   1.00";
  std::vector<std::uint8_t> answer(36, 0);
  std::copy(text.begin(), text.end(), answer.begin() + 8);
  answer[21] = 0;  // the blank after "CD-RW"
  drive->SetInquiryData(answer);
  ASSERT_EQ(sim.drives.Inquiry(), 1);
  EXPECT_EQ(sim.drives.IdentificationText(), "VA      CD-RW");
  const auto id = sim.drives.ProductId();
  EXPECT_EQ(id[5], 0);
  EXPECT_EQ(std::string(id.begin() + 6, id.end()), "KX1210A   ");
}

TEST_P(BothTransports, DataOutReachesTheDriveIntact) {
  auto drive = AttachDrive();
  for (std::uint32_t i = 0; i < kDataBufferSize; ++i) {
    sim.drives.request().dataBuffer[i] = static_cast<std::uint8_t>(i * 7);
  }
  sim.drives.PrepareCommand(kFlagsDataOut, 10, {0x3B, 0x02, 0, 0, 0, 0, 0, 0x40, 0x00, 0});
  sim.drives.Dispatch(kDataBufferSize);
  ASSERT_EQ(drive->received().size(), 1u);
  const auto& payload = drive->received()[0].dataOut;
  ASSERT_EQ(payload.size(), kDataBufferSize);
  EXPECT_TRUE(std::equal(payload.begin(), payload.end(), sim.drives.request().dataBuffer));
}

struct OutcomeCase {
  const char* what;
  DriveAnswer answer;
  int result;
  std::uint8_t asc;
  std::uint8_t ascq;
};

void PrintTo(const OutcomeCase& c, std::ostream* os) {
  *os << c.what;
}

class CommandOutcome : public testing::TestWithParam<std::tuple<TransportKind, OutcomeCase>> {};

TEST_P(CommandOutcome, ResultAndSenseCodesFollowTheDrivesAnswer) {
  const auto [kind, c] = GetParam();
  SimDrives sim(kind);
  auto drive = sim.NewDrive("CD-RW KX1210A   ");
  sim.platform.bus().Attach(platform::sim::SimBus::CdromName(0), drive);
  sim.platform.bus().Attach(platform::sim::SimBus::DriveLetterName('d'), drive);
  sim.platform.bus().AttachAt(0, 0, drive);
  drive->InjectFault({std::nullopt, c.answer, 1});
  sim.drives.request().lastAsc = 0x55;  // what an earlier command left
  sim.drives.request().lastAscq = 0x66;
  EXPECT_EQ(sim.drives.Inquiry(), c.result);
  EXPECT_EQ(sim.drives.request().lastAsc, c.asc);
  EXPECT_EQ(sim.drives.request().lastAscq, c.ascq);

  // The next good command leaves no sense codes behind.
  EXPECT_EQ(sim.drives.Inquiry(), 1);
  EXPECT_EQ(sim.drives.request().lastAsc, 0);
  EXPECT_EQ(sim.drives.request().lastAscq, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, CommandOutcome,
    testing::Combine(
        testing::Values(TransportKind::CdromDevice, TransportKind::DriveLetter,
                        TransportKind::Aspi),
        testing::Values(OutcomeCase{"good", DriveAnswer::Good(36), 1, 0, 0},
                        OutcomeCase{"invalid opcode", DriveAnswer::Check(5, 0x20, 0x00), 0, 0x20,
                                    0},
                        OutcomeCase{"no medium", DriveAnswer::Check(2, 0x3A, 0x00), 0, 0x3A, 0},
                        OutcomeCase{"phase report", DriveAnswer::Check(2, 0xF7, 0x02), 0, 0xF7, 2},
                        OutcomeCase{"busy", DriveAnswer::Status(0x08), 0, 0, 0},
                        OutcomeCase{"reservation conflict", DriveAnswer::Status(0x18), 0, 0, 0})),
    [](const auto& info) {
      std::string name = std::to_string(static_cast<int>(std::get<0>(info.param))) + "_" +
                         std::get<1>(info.param).what;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

INSTANTIATE_TEST_SUITE_P(Transports, BothTransports,
                         testing::Values(TransportKind::CdromDevice, TransportKind::Aspi));

}  // namespace
}  // namespace zentor::scsi
