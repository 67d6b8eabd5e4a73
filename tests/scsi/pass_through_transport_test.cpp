#include "scsi/pass_through_transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <vector>

#include "scsi/device_name.h"

#include "scsi/drive_access.h"
#include "scsi/sim_drives.h"

namespace zentor::scsi {
namespace {

using platform::sim::DriveAnswer;
using platform::sim::SimBus;
using testing_support::SimDrives;

// Keeps a copy of every request exactly as it reached the platform.
class RecordingDevices : public platform::DeviceIo {
 public:
  platform::DeviceHandle OpenDevice(const std::string& name) override {
    opened.push_back(name);
    return 42;
  }
  bool SendPassThrough(platform::DeviceHandle device, std::span<std::uint8_t> request) override {
    handles.push_back(device);
    sent.emplace_back(request.begin(), request.end());
    request[2] = 0x00;
    return true;
  }
  void CloseDevice(platform::DeviceHandle) override {}

  std::vector<std::string> opened;
  std::vector<platform::DeviceHandle> handles;
  std::vector<std::vector<std::uint8_t>> sent;
};

TEST(PassThrough, InquiryLeavesAsTheLiteralHeaderBytes) {
  RecordingDevices devices;
  DriveAccess drives(devices);
  drives.transportKind = TransportKind::CdromDevice;
  drives.request().address.deviceNumber = 3;
  std::fill_n(drives.request().aspi.cdb, 16, 0xAA);  // left over from earlier commands

  EXPECT_EQ(drives.Inquiry(), 1);

  ASSERT_EQ(devices.opened, std::vector<std::string>{"\\\\.\\cdrom3"});
  ASSERT_EQ(devices.sent.size(), 1u);
  const auto& r = devices.sent[0];
  ASSERT_EQ(r.size(), 80u + 36u) << "header region plus the transfer length";
  const std::vector<std::uint8_t> head = {0x2C, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x06, 0x0E, 0x01};
  EXPECT_EQ(std::vector<std::uint8_t>(r.begin(), r.begin() + 9), head);
  const std::vector<std::uint8_t> rest = {
      0x24, 0x00, 0x00, 0x00,  // DataTransferLength 36
      0x02, 0x00, 0x00, 0x00,  // TimeOutValue 2 s
      0x50, 0x00, 0x00, 0x00,  // DataBufferOffset 80
      0x30, 0x00, 0x00, 0x00,  // SenseInfoOffset 48
      0x12, 0x00, 0x00, 0x00, 0x24, 0x00, 0xAA, 0xAA, 0xAA,
      0xAA, 0xAA, 0xAA, 0x00, 0x00, 0x00, 0x00};  // CDB: bytes 6..11 as left, 12..15 always zero
  EXPECT_EQ(std::vector<std::uint8_t>(r.begin() + 12, r.begin() + 44), rest);
}

// A transfer beyond the data buffer is refused unsent.
TEST(PassThrough, DirectionAndLengthFollowTheBuilderFlags) {
  struct Case {
    std::uint8_t flags;
    std::uint32_t length;
    std::uint8_t dataIn;  // 0xFF: refused
  };
  for (const Case c : {Case{kFlagsDataIn, 16384, 1}, Case{kFlagsDataOut, 16384, 0},
                       Case{kFlagsNoData, 0, 2}, Case{0x48, 16384, 2}, Case{kFlagsDataIn, 16385, 0xFF}}) {
    RecordingDevices devices;
    DriveAccess drives(devices);
    drives.transportKind = TransportKind::DriveLetter;
    drives.request().dataBuffer[0] = 0x5A;
    drives.PrepareCommand(c.flags, 12, {0xAA, 0, 0, 0, 0, 0, 0x40, 0x00, 0, 0, 0, 0});
    EXPECT_EQ(drives.Dispatch(c.length), c.dataIn == 0xFF ? 0 : 1);
    if (c.dataIn == 0xFF) {
      EXPECT_TRUE(devices.sent.empty() && devices.opened.empty());
      continue;
    }
    ASSERT_EQ(devices.sent.size(), 1u);
    const auto& r = devices.sent[0];
    EXPECT_EQ(r[8], c.dataIn) << int(c.flags);
    EXPECT_EQ(r[6], 12);
    EXPECT_EQ(r.size(), 80u + c.length);
    if (c.length > 0) {
      EXPECT_EQ(r[80], 0x5A) << "the data buffer follows at 80, in place";
    }
  }
}

// A request that never reached the drive, or a device that would not open, fails without
// sense codes; a device that would not open is tried again next time.
TEST(PassThrough, AFailureToReachTheDriveLeavesNoSenseCodes) {
  SimDrives sim;
  sim.AttachCdrom(0)->InjectFault({std::nullopt, DriveAnswer::None(), 1});
  sim.drives.request().lastAsc = 0x3A;  // what an earlier command left
  EXPECT_EQ(sim.drives.Inquiry(), 0);
  EXPECT_EQ(sim.drives.request().passThrough.header.scsiStatus, 0xFF);
  EXPECT_EQ(sim.drives.request().lastAsc, 0);

  SimDrives closed;
  closed.AttachCdrom(0)->SetOpenable(false);
  closed.drives.request().lastAsc = 0x3A;
  EXPECT_EQ(closed.drives.Inquiry(), 0);
  EXPECT_EQ(closed.drives.request().lastAsc, 0);
  EXPECT_FALSE(closed.drives.passThrough().HasCachedDeviceHandle());
  EXPECT_EQ(closed.drives.Inquiry(), 0);
  EXPECT_EQ(closed.platform.bus().openAttempts().size(), 2u);
}

// The cached handle serves later commands whatever the device number says, until a label
// is parsed: that closes it, and the next command opens the labelled device.
TEST(PassThrough, OneHandleServesCommandsUntilALabelNamesAnotherDevice) {
  SimDrives sim;
  auto first = sim.AttachCdrom(3);
  auto other = sim.AttachCdrom(5);
  auto labelled = sim.AttachCdrom(12);
  sim.drives.request().address.deviceNumber = 3;
  EXPECT_EQ(sim.drives.Inquiry(), 1);
  sim.drives.request().address.deviceNumber = 5;
  EXPECT_EQ(sim.drives.Inquiry(), 1);
  EXPECT_EQ(first->received().size(), 2u);
  EXPECT_TRUE(other->received().empty());
  EXPECT_EQ(sim.platform.bus().openAttempts().size(), 1u);

  sim.drives.ParseDriveLabel("cdrom12 :  VAREL   CD-RW KX1210A   1.00");
  EXPECT_EQ(sim.platform.bus().openHandleCount(), 0u) << "no handle is ever forgotten open";
  EXPECT_EQ(sim.drives.Inquiry(), 1);
  EXPECT_EQ(labelled->received().size(), 1u);
}

TEST(DeviceName, DriveLettersRunFromDToZAndNeverWrapRoundToALetter) {
  EXPECT_EQ(DeviceName(TransportKind::CdromDevice, 12), "\\\\.\\cdrom12");
  EXPECT_EQ(DeviceName(TransportKind::DriveLetter, 0), "\\\\.\\d:");
  EXPECT_EQ(DeviceName(TransportKind::DriveLetter, 22), "\\\\.\\z:");
  EXPECT_EQ(DeviceName(TransportKind::DriveLetter, 23), "\\\\.\\{:");
  for (int n = 23; n < 256; ++n) {
    const char c = DeviceName(TransportKind::DriveLetter, static_cast<std::uint8_t>(n))[4];
    EXPECT_FALSE(std::isalpha(static_cast<unsigned char>(c))) << n;
  }
}

TEST(ProbeCdromDevices, TriesAllTenAndLeavesNothingOpen) {
  for (const bool openable : {true, false}) {
    SimDrives sim;
    sim.AttachCdrom(7)->SetOpenable(openable);
    sim.AttachCdrom(10);  // beyond the probe
    EXPECT_EQ(sim.drives.passThrough().ProbeCdromDevices(), openable);
    std::vector<std::string> expected;
    for (int n = 0; n < 10; ++n)
      expected.push_back("\\\\.\\cdrom" + std::to_string(n));
    EXPECT_EQ(sim.platform.bus().openAttempts(), expected);
    EXPECT_EQ(sim.platform.bus().openHandleCount(), 0u);
    EXPECT_EQ(sim.platform.bus().closeCount(), openable ? 1 : 0);
  }
}

}  // namespace
}  // namespace zentor::scsi
