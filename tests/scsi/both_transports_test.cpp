// The result convention, the same over every transport: a builder never knows which one
// carries its command.
#include <gtest/gtest.h>

#include "scsi/drive_access.h"
#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::DriveAnswer;
using testing_support::SimDrives;

TEST(CommandOutcome, ResultAndSenseCodesFollowTheDrivesAnswerOnEveryTransport) {
  struct Case {
    const char* what;
    DriveAnswer answer;
    int result;
    std::uint8_t asc, ascq;
  };
  // clang-format off
  const Case cases[] = {
      {"good", DriveAnswer::Good(36), 1, 0, 0},
      {"invalid opcode", DriveAnswer::Check(5, 0x20, 0x00), 0, 0x20, 0},
      {"no medium", DriveAnswer::Check(2, 0x3A, 0x00), 0, 0x3A, 0},
      {"phase report", DriveAnswer::Check(2, 0xF7, 0x02), 0, 0xF7, 2},
      {"busy", DriveAnswer::Status(0x08), 0, 0, 0},
      {"reservation conflict", DriveAnswer::Status(0x18), 0, 0, 0},
  };
  // clang-format on
  for (TransportKind kind :
       {TransportKind::CdromDevice, TransportKind::DriveLetter, TransportKind::Aspi}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << testing::PrintToString(kind) << ": " << c.what);
      SimDrives sim(kind);
      auto drive = sim.AttachForEveryTransport(sim.NewDrive("CD-RW KX1210A   "));
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
  }
}

}  // namespace
}  // namespace zentor::scsi
