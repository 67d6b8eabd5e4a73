// The result convention, the same over every transport: a builder never knows which one
// carries its command.
#include <gtest/gtest.h>

#include "scsi/drive_access.h"
#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::DriveAnswer;
using testing_support::SimDrives;

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

}  // namespace
}  // namespace zentor::scsi
