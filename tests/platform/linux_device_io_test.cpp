#include "platform/linux/linux_device_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <scsi/sg.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zentor::platform::linux_os {
namespace {

// Stands in for the kernel: records every call and plays the driver's part of SG_IO, on
// /dev/srN as one ioctl and on a generic node as a write and a read of the same header.
class FakeKernel : public Syscalls {
 public:
  int Open(const char* path, int flags) override {
    calls.push_back("open " + std::string(path));
    openFlags = flags;
    const auto refused = openErrors.find(path);
    if (refused != openErrors.end()) {
      errno = refused->second;
      return -1;
    }
    return openResult;
  }
  int Ioctl(int fd, unsigned long request, void* argument) override {
    calls.push_back("ioctl " + std::to_string(fd));
    ioctlRequest = request;
    return Answer(*static_cast<sg_io_hdr*>(argument));
  }
  ssize_t Write(int fd, const void* buffer, std::size_t length) override {
    calls.push_back("write " + std::to_string(fd));
    EXPECT_EQ(length, sizeof(sg_io_hdr));
    std::memcpy(&submitted, buffer, sizeof submitted);
    if (writeError) {
      errno = writeError;
      return -1;
    }
    return static_cast<ssize_t>(length);
  }
  int Poll(pollfd* fds, nfds_t count, int) override {
    calls.push_back("poll");
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(fds->events, POLLIN);
    return Next(pollOutcomes, fds);
  }
  ssize_t Read(int fd, void* buffer, std::size_t length) override {
    calls.push_back("read " + std::to_string(fd));
    EXPECT_EQ(length, sizeof(sg_io_hdr));
    if (!readErrors.empty()) {
      errno = readErrors.front();
      readErrors.erase(readErrors.begin());
      return -1;
    }
    auto* io = static_cast<sg_io_hdr*>(buffer);
    *io = submitted;
    return Answer(*io) < 0 ? -1 : static_cast<ssize_t>(length);
  }
  int Close(int fd) override {
    calls.push_back("close " + std::to_string(fd));
    return 0;
  }
  std::vector<std::string> ListDirectory(const std::string& path) override {
    const auto found = folders.find(path);
    return found == folders.end() ? std::vector<std::string>{} : found->second;
  }

  int Answer(sg_io_hdr& io) {
    seen = io;
    return kernel ? kernel(io) : 0;
  }
  // Poll outcomes in turn (-errno: fails; otherwise the revents), then always POLLIN.
  static int Next(std::vector<int>& outcomes, pollfd* fd) {
    const int outcome = outcomes.empty() ? POLLIN : outcomes.front();
    if (!outcomes.empty()) outcomes.erase(outcomes.begin());
    if (outcome < 0) {
      errno = -outcome;
      return -1;
    }
    fd->revents = static_cast<short>(outcome);
    return 1;
  }

  int openResult = 7;
  int openFlags = 0;
  std::map<std::string, int> openErrors;
  std::map<std::string, std::vector<std::string>> folders;
  unsigned long ioctlRequest = 0;
  int writeError = 0;
  std::vector<int> pollOutcomes;
  std::vector<int> readErrors;
  sg_io_hdr submitted{};
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

constexpr char kSr3Folder[] = "/sys/class/block/sr3/device/scsi_generic";

// The back end on a fake kernel, with a drive opened as /dev/sr3 (no generic node) under
// descriptor 7, the calls so far forgotten.
struct BlockNodeRig {
  BlockNodeRig() {
    EXPECT_EQ(io.OpenDevice("\\\\.\\cdrom3"), 7);
    kernel.calls.clear();
  }
  FakeKernel kernel;
  LinuxDeviceIo io{kernel};
};

struct OpenCase {
  const char* what;
  const char* name;
  std::vector<std::string> genericFolder;  // what sysfs lists for sr3
  std::map<std::string, int> openErrors;
  std::vector<std::string> openCalls;
  std::vector<std::string> sendCalls;  // empty: no handle
};

void PrintTo(const OpenCase& c, std::ostream* os) {
  *os << c.what;
}

class NodeChoice : public testing::TestWithParam<OpenCase> {};

// A CD-ROM class drive goes through its generic node when that opens, else through
// /dev/srN; each node kind keeps its own way of sending.
TEST_P(NodeChoice, OpensTheRightNodeAndSendsItsWay) {
  const OpenCase c = GetParam();
  FakeKernel kernel;
  kernel.folders[kSr3Folder] = c.genericFolder;
  kernel.openErrors = c.openErrors;
  LinuxDeviceIo io(kernel);
  const DeviceHandle handle = io.OpenDevice(c.name);
  EXPECT_EQ(kernel.calls, c.openCalls);
  if (!c.openCalls.empty()) {
    EXPECT_EQ(kernel.openFlags, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  }
  if (c.sendCalls.empty()) {
    EXPECT_EQ(handle, kNoDevice);
    return;
  }
  ASSERT_EQ(handle, 7);
  kernel.calls.clear();
  auto request = Request(2, 0, {0x00, 0, 0, 0, 0, 0x80});
  EXPECT_TRUE(io.SendPassThrough(handle, request));
  EXPECT_EQ(kernel.calls, c.sendCalls);
  EXPECT_EQ(request[2], 0x00) << "status GOOD read back";
  io.CloseDevice(handle);
  EXPECT_EQ(kernel.calls.back(), "close 7");
  EXPECT_FALSE(io.SendPassThrough(handle, request)) << "a closed handle sends nothing";
}

const std::vector<std::string> kIoctl = {"ioctl 7"};
const std::vector<std::string> kWriteRead = {"write 7", "poll", "read 7"};

INSTANTIATE_TEST_SUITE_P(
    Nodes, NodeChoice,
    testing::Values(
        OpenCase{
            "cdrom with generic node", "\\\\.\\cdrom3", {"sg5"}, {}, {"open /dev/sg5"}, kWriteRead},
        OpenCase{"generic node refused",
                 "\\\\.\\cdrom3",
                 {"sg5"},
                 {{"/dev/sg5", EACCES}},
                 {"open /dev/sg5", "open /dev/sr3"},
                 kIoctl},
        OpenCase{"no generic node", "\\\\.\\cdrom3", {}, {}, {"open /dev/sr3"}, kIoctl},
        OpenCase{"neither opens",
                 "\\\\.\\cdrom3",
                 {"sg5"},
                 {{"/dev/sg5", EACCES}, {"/dev/sr3", ENOENT}},
                 {"open /dev/sg5", "open /dev/sr3"},
                 {}},
        OpenCase{"drive letter", "\\\\.\\d:", {}, {}, {"open /dev/sg0"}, kWriteRead},
        OpenCase{
            "drive letter missing", "\\\\.\\e:", {}, {{"/dev/sg1", ENOENT}}, {"open /dev/sg1"}, {}},
        OpenCase{"name without node", "\\\\.\\{:", {}, {}, {}, {}}));

// Signals cut the wait for the answer as often as they come; the command still goes out
// once, and the answer read back is the one reported.
TEST(LinuxDeviceIo, GenericNodeSendsOnceHoweverOftenTheWaitIsInterrupted) {
  FakeKernel kernel;
  kernel.pollOutcomes = {-EINTR, -EINTR, POLLIN, -EINTR, POLLIN, POLLIN};
  kernel.readErrors = {EINTR, EAGAIN};
  kernel.kernel = [](sg_io_hdr& s) {
    s.status = 0x02;
    return 0;
  };
  LinuxDeviceIo io(kernel);
  ASSERT_EQ(io.OpenDevice("\\\\.\\d:"), 7);
  auto request = Request(2, 0, {0xE1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_TRUE(io.SendPassThrough(7, request));
  EXPECT_EQ(std::ranges::count(kernel.calls, "write 7"), 1);
  EXPECT_EQ(std::ranges::count(kernel.calls, "read 7"), 3);
  EXPECT_EQ(request[2], 0x02);
}

TEST(LinuxDeviceIo, GenericNodeFailuresEndTheRequestWithoutSendingAgain) {
  struct Case {
    const char* what;
    int writeError;
    std::vector<int> pollOutcomes;
    std::vector<int> readErrors;
    int reads;
  };
  for (const Case& c : {Case{"submission refused", EIO, {}, {}, 0},
                        Case{"device gone while waiting", 0, {POLLIN | POLLHUP}, {ENODEV}, 1},
                        Case{"hang-up with nothing to read", 0, {POLLHUP}, {EAGAIN}, 1},
                        Case{"poll fails", 0, {-EBADF}, {}, 0}}) {
    FakeKernel kernel;
    kernel.writeError = c.writeError;
    kernel.pollOutcomes = c.pollOutcomes;
    kernel.readErrors = c.readErrors;
    LinuxDeviceIo io(kernel);
    ASSERT_EQ(io.OpenDevice("\\\\.\\d:"), 7);
    auto request = Request(2, 0, {0xE1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(io.SendPassThrough(7, request)) << c.what;
    EXPECT_EQ(std::ranges::count(kernel.calls, "write 7"), 1) << c.what;
    EXPECT_EQ(std::ranges::count(kernel.calls, "read 7"), c.reads) << c.what;
    EXPECT_EQ(request[2], 0xFF) << c.what;
  }
}

// Which of the two refusals stopped the program: a node it may not open, or vendor
// commands on /dev/srN (with the generic node that would have done).
TEST(LinuxDeviceIo, TellsWhichPermissionTheKernelRefused) {
  FakeKernel kernel;
  kernel.folders[kSr3Folder] = {"sg5"};
  kernel.openErrors = {{"/dev/sg5", EACCES}, {"/dev/sg1", EACCES}, {"/dev/sg2", ENOENT}};
  kernel.kernel = [](sg_io_hdr&) {
    errno = EPERM;
    return -1;
  };
  LinuxDeviceIo io(kernel);
  EXPECT_EQ(io.OpenDevice("\\\\.\\e:"), kNoDevice);
  EXPECT_EQ(io.OpenDevice("\\\\.\\f:"), kNoDevice);
  EXPECT_EQ(io.OpenDevice("\\\\.\\e:"), kNoDevice);
  EXPECT_FALSE(io.permissionRefusals().refusedCommands);
  ASSERT_EQ(io.OpenDevice("\\\\.\\cdrom3"), 7);
  auto request = Request(2, 0, {0xE4, 0, 0, 0, 0, 0, 0, 0, 0, 0x40});
  EXPECT_FALSE(io.SendPassThrough(7, request));
  EXPECT_EQ(request[2], 0xFF);
  const PermissionRefusals& refusals = io.permissionRefusals();
  EXPECT_EQ(refusals.refusedNodes, std::vector<std::string>{"/dev/sg1"})
      << "once each; not the generic node of a drive that opened otherwise";
  ASSERT_TRUE(refusals.refusedCommands);
  EXPECT_EQ(refusals.refusedCommands->first, "/dev/sr3");
  EXPECT_EQ(refusals.refusedCommands->second, "/dev/sg5");
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
  BlockNodeRig rig;
  FakeKernel& kernel = rig.kernel;
  auto request = Request(c.dataIn, c.length,
                         {0xE3, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00});
  EXPECT_TRUE(rig.io.SendPassThrough(7, request));

  ASSERT_EQ(kernel.calls, std::vector<std::string>{"ioctl 7"});
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
  int resid = 0;
  // DataTransferLength afterwards: the bytes moved of the 16384 asked for (a call that
  // failed leaves the header as it was).
  std::uint32_t transferred = 16384;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
  *os << c.what;
}

class SgIoStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(SgIoStatus, ReportsTheDeviceStatusOrKeepsThePreset) {
  const auto c = GetParam();
  BlockNodeRig rig;
  rig.kernel.kernel = [&](sg_io_hdr& s) {
    s.status = c.status;
    s.host_status = c.hostStatus;
    s.driver_status = c.driverStatus;
    s.resid = c.resid;
    return c.ioctlResult;
  };
  auto request = Request(1, 16384, {0xE3, 0, 0, 0, 0x40, 0, 0, 0x40, 0, 0, 0, 0});
  EXPECT_EQ(rig.io.SendPassThrough(7, request), c.reached) << c.what;
  EXPECT_EQ(request[2], c.scsiStatus) << c.what;
  std::uint32_t transferred = 0;
  std::memcpy(&transferred, request.data() + 12, sizeof transferred);
  EXPECT_EQ(transferred, c.transferred) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SgIoStatus,
    testing::Values(StatusCase{"good", 0, 0x00, 0, 0, 0x00, true},
                    StatusCase{"good, but short", 0, 0x00, 0, 0, 0x00, true, 384, 16000},
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
  BlockNodeRig rig;
  rig.kernel.kernel = CheckConditionWithSense({0x70, 0, 0x05, 0, 0, 0, 0, 0});
  auto request = Request(2, 0, {0x00, 0, 0, 0, 0, 0x80});
  request[60] = 0x3A;  // left over from an earlier command
  request[61] = 0x01;
  ASSERT_TRUE(rig.io.SendPassThrough(7, request));
  EXPECT_EQ(request[60], 0x00);
  EXPECT_EQ(request[61], 0x00);
}

TEST(LinuxDeviceIo, DescriptorSenseIsReportedInTheFixedPlaces) {
  BlockNodeRig rig;
  rig.kernel.kernel = CheckConditionWithSense({0x72, 0x05, 0x20, 0x00, 0, 0, 0, 0});
  auto request = Request(2, 0, {0xE4, 0, 0, 0, 0, 0, 0, 0, 0, 0x40});
  ASSERT_TRUE(rig.io.SendPassThrough(7, request));
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
    BlockNodeRig rig;
    auto request = Request(1, 36, {0x12, 0, 0, 0, 36, 0});
    request[b.offset] = b.value;
    EXPECT_FALSE(rig.io.SendPassThrough(7, request)) << b.what;
    EXPECT_TRUE(rig.kernel.calls.empty()) << b.what;
    EXPECT_EQ(request[2], 0xFF) << b.what;
  }
  BlockNodeRig rig;
  auto request = Request(1, 36, {0x12, 0, 0, 0, 36, 0});
  request.resize(100);  // shorter than header + data
  EXPECT_FALSE(rig.io.SendPassThrough(7, request));
  EXPECT_TRUE(rig.kernel.calls.empty());
}

}  // namespace
}  // namespace zentor::platform::linux_os
