// Every byte of the flash commands, over both back ends, and the flash read's fallback.
#include "scsi/flash_commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/sim/flash_drive.h"
#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::DataDirection;
using platform::sim::DriveAnswer;
using platform::sim::FlashDrive;
using testing_support::SimDrives;

struct CommandCase {
  const char* name;
  std::function<int(DriveAccess&)> send;
  std::vector<std::uint8_t> cdb;
  DataDirection direction;
  std::uint32_t transferLength;
};

int ReadAt(DriveAccess& d, std::uint32_t address) {
  int unsupported = 0;
  return ReadFlashBlock(d, address, unsupported);
}

// clang-format off
const CommandCase kCommands[] = {
    {"RequestSense", RequestSense, {0x03, 0, 0, 0, 0x0E, 0}, DataDirection::In, 14},
    {"TestUnitReady", TestUnitReady, {0x00, 0, 0, 0, 0, 0x80}, DataDirection::None, 0},
    {"EnterUpdateMode 1", [](DriveAccess& d) { return EnterUpdateMode(d, 1); },
     {0xE4, 0, 0, 0, 0, 0, 0, 0, 0, 0x40}, DataDirection::None, 0},
    {"EnterUpdateMode 0", [](DriveAccess& d) { return EnterUpdateMode(d, 0); },
     {0xE4, 0, 0, 0, 0, 0, 0, 0, 0, 0x00}, DataDirection::None, 0},
    {"EndTransfer takes the low byte", [](DriveAccess& d) { return EndTransfer(d, 0x102); },
     {0xE0, 0, 0, 0x02, 0, 0, 0, 0, 0, 0}, DataDirection::None, 0},
    {"StartFlashUpdate", [](DriveAccess& d) { return StartFlashUpdate(d, false); },
     {0xE1, 0, 0, 0, 0, 0, 0, 0, 0, 0x00}, DataDirection::None, 0},
    {"StartFlashUpdate with the loader bit", [](DriveAccess& d) { return StartFlashUpdate(d, true); },
     {0xE1, 0, 0, 0, 0, 0, 0, 0, 0, 0x40}, DataDirection::None, 0},
    {"SendFlashBlock 3072, long form", [](DriveAccess& d) { return SendFlashBlock(d, 3072, kLongBlockForm); },
     {0xAA, 0, 0, 0, 0, 0, 0x0C, 0x00, 0, 0, 0, 0}, DataDirection::Out, 16384},
    {"SendFlashBlock 15360, short form", [](DriveAccess& d) { return SendFlashBlock(d, 15360, kShortBlockForm); },
     {0xE2, 0, 0, 0, 0, 0, 0x3C, 0x00, 0, 0}, DataDirection::Out, 16384},
    {"ReadFlashBlock at the second block", [](DriveAccess& d) { return ReadAt(d, 16384); },
     {0xE3, 0, 0, 0, 0x40, 0, 0, 0x40, 0, 0, 0, 0}, DataDirection::In, 16384},
};
// clang-format on

// A drive in its loader, reached over every transport.
std::shared_ptr<FlashDrive> AttachFlashDrive(SimDrives& sim, bool flashReadSupported) {
  FlashDrive::Setup setup;
  setup.identity = {"VAREL   ", "CD-RW KX4840A   ", "1.00"};
  setup.loaderProduct = "KX-LOADER H8    ";
  setup.idBlockAddress = 0x8004;
  setup.flash.resize(0x100000);
  for (std::size_t i = 0; i < setup.flash.size(); ++i)
    setup.flash[i] = static_cast<std::uint8_t>(i >> 8);
  setup.flashReadSupported = flashReadSupported;
  auto drive =
      sim.AttachForEveryTransport(std::make_shared<FlashDrive>(setup, sim.platform.clock()));
  EnterUpdateMode(sim.drives, 1);
  return drive;
}

class FlashCommands : public testing::TestWithParam<TransportKind> {};

TEST_P(FlashCommands, EveryCommandCarriesItsBytesDirectionAndLength) {
  for (const CommandCase& command : kCommands) {
    SCOPED_TRACE(command.name);
    SimDrives fresh(GetParam());
    auto drive = fresh.AttachForEveryTransport(fresh.NewDrive("CD-RW KX1210A   "));
    command.send(fresh.drives);
    // The plain drive refuses the vendor read, so the flash read goes on to the alternate
    // read: the command under test is always the first one.
    ASSERT_FALSE(drive->received().empty());
    const auto& received = drive->received().front();
    EXPECT_EQ(received.cdb, command.cdb);
    EXPECT_EQ(received.direction, command.direction);
    EXPECT_EQ(received.transferLength, command.transferLength);
  }
}

// When the flash read counts as done, and when the drive is taken to know only the
// alternate read: only a refusal as an unknown command (20/00) leads there, and only an
// alternate read that answered in full marks the drive so; from then on every read is the
// alternate one.
TEST_P(FlashCommands, AReadSucceedsOnlyWithAllItsBytesAndFallsBackOnlyOnAnUnknownCommand) {
  using platform::sim::InjectedFault;
  using platform::sim::ShortRead;
  const InjectedFault unknown = {0xE3, DriveAnswer::Check(5, 0x20, 0x00), 1, 0};
  struct Case {
    const char* name;
    bool flashReadSupported;
    std::vector<InjectedFault> faults;
    int result;
    int unsupported;
    std::vector<std::uint8_t> sent;
  };
  // clang-format off
  const Case cases[] = {
      {"the flash read", true, {}, 1, 0, {0xE3}},
      {"refused as unknown, the alternate read answers", false, {}, 1, 1, {0xE3, 0xA8}},
      {"refused with another qualifier", true, {{0xE3, DriveAnswer::Check(5, 0x20, 0x01), 1, 0}}, 0, 0, {0xE3}},
      {"refused as unknown, and the alternate read too", true, {unknown, {0xA8, DriveAnswer::Check(5, 0x20, 0x00), 1, 0}}, 0, 0, {0xE3, 0xA8}},
      {"the flash read one byte short", true, {ShortRead(0xE3, 16383)}, 0, 0, {0xE3}},
      {"the alternate read short", true, {unknown, ShortRead(0xA8, 100)}, 0, 0, {0xE3, 0xA8}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimDrives fresh(GetParam());
    auto drive = AttachFlashDrive(fresh, c.flashReadSupported);
    for (const InjectedFault& fault : c.faults)
      drive->InjectFault(fault);
    const std::size_t before = drive->received().size();
    int unsupported = 0;
    EXPECT_EQ(ReadFlashBlock(fresh.drives, 0x10000, unsupported), c.result);
    EXPECT_EQ(unsupported, c.unsupported);
    std::vector<std::uint8_t> sent;
    for (std::size_t i = before; i < drive->received().size(); ++i)
      sent.push_back(drive->received()[i].cdb[0]);
    EXPECT_EQ(sent, c.sent);
    // The flash at the address, or the identification block from the alternate read.
    if (c.result == 1) {
      EXPECT_EQ(fresh.drives.request().dataBuffer[0x200], c.unsupported ? 0x82 : 0x02);
    }
    if (c.unsupported) {
      ASSERT_EQ(ReadFlashBlock(fresh.drives, 16384, unsupported), 1);
      EXPECT_EQ(drive->received().back().cdb,
                (std::vector<std::uint8_t>{0xA8, 0, 0, 0, 0, 0, 0, 0, 0, 0x72, 0, 0}));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothTransports, FlashCommands,
                         testing::Values(TransportKind::CdromDevice, TransportKind::Aspi));

}  // namespace
}  // namespace zentor::scsi
