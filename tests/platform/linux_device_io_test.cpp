#include "platform/linux/linux_device_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <scsi/sg.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace zentor::platform::linux_os {
namespace {

// Stands in for the kernel: records every call and plays the driver's part of SG_IO.
class FakeKernel : public Syscalls {
 public:
  int Open(const char* path, int flags) override {
    calls.push_back("open " + std::string(path));
    openFlags = flags;
    return openResult;
  }
  int Ioctl(int fd, unsigned long request, void* argument) override {
    calls.push_back("ioctl " + std::to_string(fd));
    ioctlRequest = request;
    auto* io = static_cast<sg_io_hdr*>(argument);
    seen = *io;
    if (kernel) return kernel(*io);
    return 0;
  }
  int Close(int fd) override {
    calls.push_back("close " + std::to_string(fd));
    return 0;
  }

  int openResult = 7;
  int openFlags = 0;
  unsigned long ioctlRequest = 0;
  sg_io_hdr seen{};
  std::function<int(sg_io_hdr&)> kernel;
  std::vector<std::string> calls;
};

// A pass-through request written byte by byte as the program lays it out: header at 0,
// sense at 48, data at 80.
std::vector<std::uint8_t> Request(std::uint8_t dataIn, std::uint32_t transferLength,
                                  std::vector<std::uint8_t> cdb) {
  std::vector<std::uint8_t> r(80 + transferLength, 0xEE);
  const auto n = static_cast<std::uint8_t>(transferLength);
  const auto h = static_cast<std::uint8_t>(transferLength >> 8);
  // clang-format off
  const std::uint8_t head[28] = {
      44, 0, 0xFF, 0, 0, 0, static_cast<std::uint8_t>(cdb.size()), 14, dataIn, 0, 0, 0,
      n, h, 0, 0,   // DataTransferLength
      2, 0, 0, 0,   // TimeOutValue
      80, 0, 0, 0,  // DataBufferOffset
      48, 0, 0, 0}; // SenseInfoOffset
  // clang-format on
  std::memcpy(r.data(), head, sizeof head);
  std::fill(r.begin() + 28, r.begin() + 44, 0);
  std::copy(cdb.begin(), cdb.end(), r.begin() + 28);
  return r;
}

TEST(LinuxDeviceIo, OpensTheMappedNodeReadWriteNonBlockingWithNothingBefore) {
  FakeKernel kernel;
  LinuxDeviceIo io(kernel);
  EXPECT_EQ(io.OpenDevice("\\\\.\\cdrom3"), 7);
  EXPECT_EQ(kernel.calls, std::vector<std::string>{"open /dev/sr3"});
  EXPECT_EQ(kernel.openFlags, O_RDWR | O_NONBLOCK | O_CLOEXEC);

  io.CloseDevice(7);
  EXPECT_EQ(kernel.calls.back(), "close 7");
}

TEST(LinuxDeviceIo, NameWithoutNodeOrFailedOpenGivesNoDevice) {
  FakeKernel kernel;
  LinuxDeviceIo io(kernel);
  EXPECT_EQ(io.OpenDevice("\\\\.\\{:"), kNoDevice);
  EXPECT_TRUE(kernel.calls.empty()) << "no system call for a name without a node";

  kernel.openResult = -1;
  EXPECT_EQ(io.OpenDevice("\\\\.\\d:"), kNoDevice);
  EXPECT_EQ(kernel.calls, std::vector<std::string>{"open /dev/sg0"});
}

TEST(LinuxDeviceIo, CountsOnlyTheRefusalsForLackOfPermission) {
  struct Case {
    int error;
    int counted;
  };
  for (const Case c : {Case{EACCES, 1}, Case{EPERM, 1}, Case{ENOENT, 0}, Case{EIO, 0}}) {
    FakeKernel kernel;
    LinuxDeviceIo io(kernel);
    kernel.openResult = -1;
    errno = c.error;
    EXPECT_EQ(io.OpenDevice("\\\\.\\cdrom0"), kNoDevice);
    kernel.kernel = [&](sg_io_hdr&) {
      errno = c.error;
      return -1;
    };
    auto request = Request(2, 0, {0xE4, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(io.SendPassThrough(3, request));
    EXPECT_EQ(io.permissionRefusals(), 2 * c.counted) << "errno " << c.error;
  }
}

struct DirectionCase {
  std::uint8_t dataIn;
  std::uint32_t length;
  int sgDirection;
};

void PrintTo(const DirectionCase& c, std::ostream* os) {
  *os << "DataIn " << int(c.dataIn);
}

class SgIoDirection : public testing::TestWithParam<DirectionCase> {};

TEST_P(SgIoDirection, TranslatesEveryHeaderFieldIntoOneSgIoCall) {
  const auto c = GetParam();
  FakeKernel kernel;
  LinuxDeviceIo io(kernel);
  auto request = Request(c.dataIn, c.length,
                         {0xE3, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00});
  EXPECT_TRUE(io.SendPassThrough(9, request));

  ASSERT_EQ(kernel.calls, std::vector<std::string>{"ioctl 9"});
  EXPECT_EQ(kernel.ioctlRequest, static_cast<unsigned long>(SG_IO));
  const sg_io_hdr& s = kernel.seen;
  EXPECT_EQ(s.interface_id, 'S');
  EXPECT_EQ(s.dxfer_direction, c.sgDirection);
  EXPECT_EQ(s.cmd_len, 12);
  EXPECT_EQ(s.cmdp, request.data() + 28) << "the CDB is used in place";
  EXPECT_EQ(s.mx_sb_len, 14);
  EXPECT_EQ(s.sbp, request.data() + 48);
  EXPECT_EQ(s.dxfer_len, c.length);
  EXPECT_EQ(s.dxferp, c.length ? request.data() + 80 : nullptr);
  EXPECT_EQ(s.timeout, 2000u);
  EXPECT_EQ(s.iovec_count, 0);
}

INSTANTIATE_TEST_SUITE_P(Directions, SgIoDirection,
                         testing::Values(DirectionCase{1, 16384, SG_DXFER_FROM_DEV},
                                         DirectionCase{0, 16384, SG_DXFER_TO_DEV},
                                         DirectionCase{2, 0, SG_DXFER_NONE}));

struct StatusCase {
  const char* what;
  int ioctlResult;
  unsigned char status;
  unsigned short hostStatus;
  unsigned short driverStatus;
  std::uint8_t scsiStatus;
  bool reached;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
  *os << c.what;
}

class SgIoStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(SgIoStatus, ReportsTheDeviceStatusOrKeepsThePreset) {
  const auto c = GetParam();
  FakeKernel kernel;
  kernel.kernel = [&](sg_io_hdr& s) {
    s.status = c.status;
    s.host_status = c.hostStatus;
    s.driver_status = c.driverStatus;
    return c.ioctlResult;
  };
  LinuxDeviceIo io(kernel);
  auto request = Request(2, 0, {0x00, 0, 0, 0, 0, 0x80});
  EXPECT_EQ(io.SendPassThrough(3, request), c.reached) << c.what;
  EXPECT_EQ(request[2], c.scsiStatus) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SgIoStatus,
    testing::Values(StatusCase{"good", 0, 0x00, 0, 0, 0x00, true},
                    StatusCase{"check condition", 0, 0x02, 0, 0x08, 0x02, true},
                    StatusCase{"busy", 0, 0x08, 0, 0, 0x08, true},
                    StatusCase{"recovered error sense", 0, 0x00, 0, 0x08, 0x00, true},
                    StatusCase{"ioctl failed", -1, 0x00, 0, 0, 0xFF, false},
                    StatusCase{"no device on the adapter", 0, 0x00, 0x01, 0, 0xFF, true},
                    StatusCase{"adapter time-out", 0, 0x00, 0x03, 0, 0xFF, true},
                    StatusCase{"driver time-out", 0, 0x00, 0, 0x06, 0xFF, true},
                    StatusCase{"driver error", 0, 0x00, 0, 0x04, 0xFF, true},
                    StatusCase{"status despite adapter complaint", 0, 0x02, 0x07, 0x08, 0x02,
                               true}));

// A kernel that completes the command with CHECK CONDITION and writes these sense bytes.
std::function<int(sg_io_hdr&)> CheckConditionWithSense(std::vector<std::uint8_t> sense) {
  return [sense](sg_io_hdr& s) {
    std::memcpy(s.sbp, sense.data(), sense.size());
    s.sb_len_wr = static_cast<unsigned char>(sense.size());
    s.status = 0x02;
    return 0;
  };
}

TEST(LinuxDeviceIo, SenseBytesTheKernelDidNotWriteAreCleared) {
  FakeKernel kernel;
  kernel.kernel = CheckConditionWithSense({0x70, 0, 0x05, 0, 0, 0, 0, 0});
  LinuxDeviceIo io(kernel);
  auto request = Request(2, 0, {0x00, 0, 0, 0, 0, 0x80});
  request[60] = 0x3A;  // left over from an earlier command
  request[61] = 0x01;
  ASSERT_TRUE(io.SendPassThrough(3, request));
  EXPECT_EQ(request[60], 0x00);
  EXPECT_EQ(request[61], 0x00);
}

TEST(LinuxDeviceIo, DescriptorSenseIsReportedInTheFixedPlaces) {
  FakeKernel kernel;
  kernel.kernel = CheckConditionWithSense({0x72, 0x05, 0x20, 0x00, 0, 0, 0, 0});
  LinuxDeviceIo io(kernel);
  auto request = Request(2, 0, {0xE4, 0, 0, 0, 0, 0, 0, 0, 0, 0x40});
  ASSERT_TRUE(io.SendPassThrough(3, request));
  EXPECT_EQ(request[48], 0x70);
  EXPECT_EQ(request[50], 0x05) << "sense key";
  EXPECT_EQ(request[60], 0x20) << "ASC";
  EXPECT_EQ(request[61], 0x00) << "ASCQ";
}

TEST(LinuxDeviceIo, RequestWhoseAreasLeaveTheBufferIsNeverSent) {
  struct Broken {
    const char* what;
    std::size_t offset;
    std::uint8_t value;
  };
  for (const Broken b :
       {Broken{"data offset past the buffer", 20, 200},
        Broken{"sense offset inside the header", 24, 10}, Broken{"header length", 0, 40},
        Broken{"CDB length", 6, 17}, Broken{"direction", 8, 3}}) {
    FakeKernel kernel;
    LinuxDeviceIo io(kernel);
    auto request = Request(1, 36, {0x12, 0, 0, 0, 36, 0});
    request[b.offset] = b.value;
    EXPECT_FALSE(io.SendPassThrough(3, request)) << b.what;
    EXPECT_TRUE(kernel.calls.empty()) << b.what;
    EXPECT_EQ(request[2], 0xFF) << b.what;
  }
  FakeKernel kernel;
  LinuxDeviceIo io(kernel);
  auto request = Request(1, 36, {0x12, 0, 0, 0, 36, 0});
  request.resize(100);  // shorter than header + data
  EXPECT_FALSE(io.SendPassThrough(3, request));
  EXPECT_TRUE(kernel.calls.empty());
}

}  // namespace
}  // namespace zentor::platform::linux_os
