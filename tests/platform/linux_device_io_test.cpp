// The Linux back end on a fake kernel, for what a real kernel will not readily do: adapter
// and driver errors, descriptor sense, failing system calls, malformed requests. Node choice,
// signals, permissions, residuals and vanishing drives run through the real kernel
// (tests/kernel).
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

// Records every call and plays the driver's part of SG_IO: on /dev/srN one ioctl, on a
// generic node a write and a read of the same header.
class FakeKernel : public Syscalls {
 public:
  int Open(const char* path, int flags) override {
    calls.push_back("open " + std::string(path));
    openFlags = flags;
    if (const auto refused = openErrors.find(path); refused != openErrors.end()) {
      errno = refused->second;
      return -1;
    }
    return 7;
  }
  int Ioctl(int fd, unsigned long request, void* argument) override {
    calls.push_back("ioctl " + std::to_string(fd));
    EXPECT_EQ(request, static_cast<unsigned long>(SG_IO));
    return Answer(*static_cast<sg_io_hdr*>(argument));
  }
  ssize_t Write(int fd, const void* buffer, std::size_t length) override {
    calls.push_back("write " + std::to_string(fd));
    std::memcpy(&submitted, buffer, sizeof submitted);
    errno = writeError;
    return writeError ? -1 : static_cast<ssize_t>(length);
  }
  int Poll(pollfd* fd, nfds_t, int) override {
    calls.push_back("poll");
    if (pollError) {
      errno = pollError;
      return -1;
    }
    fd->revents = static_cast<short>(revents);
    return 1;
  }
  ssize_t Read(int fd, void* buffer, std::size_t length) override {
    calls.push_back("read " + std::to_string(fd));
    if (readError) {
      errno = readError;
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
    return path == "/sys/class/block/sr3/device/scsi_generic" ? genericOfSr3
                                                              : std::vector<std::string>{};
  }

  int Answer(sg_io_hdr& io) {
    seen = io;
    return kernel ? kernel(io) : 0;
  }

  int openFlags = 0;
  std::map<std::string, int> openErrors;
  std::vector<std::string> genericOfSr3;
  int writeError = 0, pollError = 0, readError = 0, revents = POLLIN;
  sg_io_hdr submitted{}, seen{};
  std::function<int(sg_io_hdr&)> kernel;
  std::vector<std::string> calls;
};

// A pass-through request laid out byte by byte: header at 0, sense at 48, data at 80.
std::vector<std::uint8_t> Request(std::uint8_t dataIn, std::uint32_t length,
                                  std::vector<std::uint8_t> cdb) {
  std::vector<std::uint8_t> r(80 + length, 0xEE);
  const auto n = static_cast<std::uint8_t>(length), h = static_cast<std::uint8_t>(length >> 8);
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
const std::vector<std::uint8_t> kFlashReadCdb = {0xE3, 0, 0, 0, 0x40, 0, 0, 0x40, 0, 0, 0, 0};

// The back end with a drive open as /dev/sr3 (no generic node) under descriptor 7.
struct BlockNodeRig {
  BlockNodeRig() {
    EXPECT_EQ(io.OpenDevice("\\\\.\\cdrom3"), 7);
    kernel.calls.clear();
  }
  FakeKernel kernel;
  LinuxDeviceIo io{kernel};
};

// Open flags, the fall-back to /dev/srN, closing, and nothing sent on a closed handle.
TEST(LinuxDeviceIo, OpensTheGenericNodeOrElseTheBlockNodeAndClosesWhatItOpened) {
  FakeKernel kernel;
  kernel.genericOfSr3 = {"sg5"};
  kernel.openErrors = {{"/dev/sg5", EACCES}, {"/dev/sg1", ENOENT}};
  LinuxDeviceIo io(kernel);
  EXPECT_EQ(io.OpenDevice("\\\\.\\e:"), kNoDevice);
  EXPECT_EQ(io.OpenDevice("\\\\.\\{:"), kNoDevice);  // past z: no node at all
  ASSERT_EQ(io.OpenDevice("\\\\.\\cdrom3"), 7);
  EXPECT_EQ(kernel.calls,
            (std::vector<std::string>{"open /dev/sg1", "open /dev/sg5", "open /dev/sr3"}));
  EXPECT_EQ(kernel.openFlags, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  auto request = Request(2, 0, {0x00, 0, 0, 0, 0, 0x80});
  EXPECT_TRUE(io.SendPassThrough(7, request));
  io.CloseDevice(7);
  EXPECT_EQ(kernel.calls.back(), "close 7");
  EXPECT_FALSE(io.SendPassThrough(7, request)) << "a closed handle sends nothing";
}

TEST(LinuxDeviceIo, GenericNodeFailuresEndTheRequestWithoutSendingAgain) {
  struct Case {
    const char* what;
    int writeError, pollError, readError, revents, reads;
  };
  for (const Case& c : {Case{"submission refused", EIO, 0, 0, POLLIN, 0},
                        Case{"poll fails", 0, EBADF, 0, POLLIN, 0},
                        Case{"hang-up with nothing to read", 0, 0, EAGAIN, POLLHUP, 1}}) {
    FakeKernel kernel;
    kernel.writeError = c.writeError, kernel.pollError = c.pollError;
    kernel.readError = c.readError, kernel.revents = c.revents;
    LinuxDeviceIo io(kernel);
    ASSERT_EQ(io.OpenDevice("\\\\.\\d:"), 7);
    auto request = Request(2, 0, {0xE1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(io.SendPassThrough(7, request)) << c.what;
    EXPECT_EQ(std::ranges::count(kernel.calls, "write 7"), 1) << c.what;
    EXPECT_EQ(std::ranges::count(kernel.calls, "read 7"), c.reads) << c.what;
    EXPECT_EQ(request[2], 0xFF) << c.what;
  }
}

TEST(LinuxDeviceIo, TranslatesEveryHeaderFieldIntoOneSgIoCall) {
  for (const auto& [dataIn, length, direction] :
       {std::tuple{1, 16384u, SG_DXFER_FROM_DEV}, std::tuple{0, 16384u, SG_DXFER_TO_DEV},
        std::tuple{2, 0u, SG_DXFER_NONE}}) {
    BlockNodeRig rig;
    auto request = Request(static_cast<std::uint8_t>(dataIn), length, kFlashReadCdb);
    EXPECT_TRUE(rig.io.SendPassThrough(7, request));
    ASSERT_EQ(rig.kernel.calls, std::vector<std::string>{"ioctl 7"});
    const sg_io_hdr& s = rig.kernel.seen;
    EXPECT_EQ(s.interface_id, 'S');
    EXPECT_EQ(s.dxfer_direction, direction);
    EXPECT_EQ(s.cmd_len, 12);
    EXPECT_EQ(s.cmdp, request.data() + 28) << "the CDB is used in place";
    EXPECT_EQ(s.mx_sb_len, 14);
    EXPECT_EQ(s.sbp, request.data() + 48);
    EXPECT_EQ(s.dxfer_len, length);
    EXPECT_EQ(s.dxferp, length ? request.data() + 80 : nullptr);
    EXPECT_EQ(s.timeout, 2000u);
    EXPECT_EQ(s.iovec_count, 0);
  }
}

TEST(LinuxDeviceIo, ReportsTheDeviceStatusOrKeepsThePreset) {
  struct Case {
    const char* what;
    int ioctlResult;
    unsigned char status;
    unsigned short hostStatus, driverStatus;
    std::uint8_t scsiStatus;
    bool reached;
    int resid = 0;
    std::uint32_t transferred = 16384;  // a failed call leaves the header's length as it was
  };
  const Case cases[] = {
      {"good", 0, 0x00, 0, 0, 0x00, true},
      {"good, but short", 0, 0x00, 0, 0, 0x00, true, 384, 16000},
      {"check condition", 0, 0x02, 0, 0x08, 0x02, true},
      {"busy", 0, 0x08, 0, 0, 0x08, true},
      {"recovered error sense", 0, 0x00, 0, 0x08, 0x00, true},
      {"ioctl failed", -1, 0x00, 0, 0, 0xFF, false},
      {"no device on the adapter", 0, 0x00, 0x01, 0, 0xFF, true},
      {"adapter time-out", 0, 0x00, 0x03, 0, 0xFF, true},
      {"driver time-out", 0, 0x00, 0, 0x06, 0xFF, true},
      {"driver error", 0, 0x00, 0, 0x04, 0xFF, true},
      {"status despite adapter complaint", 0, 0x02, 0x07, 0x08, 0x02, true},
  };
  for (const Case& c : cases) {
    BlockNodeRig rig;
    rig.kernel.kernel = [&](sg_io_hdr& s) {
      s.status = c.status, s.host_status = c.hostStatus, s.driver_status = c.driverStatus;
      s.resid = c.resid;
      return c.ioctlResult;
    };
    auto request = Request(1, 16384, kFlashReadCdb);
    EXPECT_EQ(rig.io.SendPassThrough(7, request), c.reached) << c.what;
    EXPECT_EQ(request[2], c.scsiStatus) << c.what;
    std::uint32_t transferred = 0;
    std::memcpy(&transferred, request.data() + 12, sizeof transferred);
    EXPECT_EQ(transferred, c.transferred) << c.what;
  }
}

// Fixed or descriptor sense, the codes land in the fixed places, and bytes the kernel did not
// write are cleared rather than left over from an earlier command.
TEST(LinuxDeviceIo, SenseIsReportedInTheFixedPlaces) {
  for (const auto& [sense, key, asc] :
       {std::tuple{std::vector<std::uint8_t>{0x70, 0, 0x05, 0, 0, 0, 0, 0}, 0x05, 0x00},
        std::tuple{std::vector<std::uint8_t>{0x72, 0x05, 0x20, 0x00, 0, 0, 0, 0}, 0x05, 0x20}}) {
    BlockNodeRig rig;
    rig.kernel.kernel = [&](sg_io_hdr& s) {
      std::memcpy(s.sbp, sense.data(), sense.size());
      s.sb_len_wr = static_cast<unsigned char>(sense.size());
      s.status = 0x02;
      return 0;
    };
    auto request = Request(2, 0, {0x00, 0, 0, 0, 0, 0x80});
    request[60] = 0x3A, request[61] = 0x01;
    ASSERT_TRUE(rig.io.SendPassThrough(7, request));
    EXPECT_EQ(request[48], 0x70);
    EXPECT_EQ(request[50], key);
    EXPECT_EQ(request[60], asc);
    EXPECT_EQ(request[61], 0x00);
  }
}

TEST(LinuxDeviceIo, RequestWhoseAreasLeaveTheBufferIsNeverSent) {
  struct Broken {
    const char* what;
    std::size_t offset;
    std::uint8_t value;
    std::size_t size = 80 + 36;
  };
  for (const Broken b :
       {Broken{"data offset past the buffer", 20, 200},
        Broken{"sense offset inside the header", 24, 10}, Broken{"header length", 0, 40},
        Broken{"CDB length", 6, 17}, Broken{"direction", 8, 3},
        Broken{"shorter than header and data", 0, 44, 100}}) {
    BlockNodeRig rig;
    auto request = Request(1, 36, {0x12, 0, 0, 0, 36, 0});
    request[b.offset] = b.value;
    request.resize(b.size);
    EXPECT_FALSE(rig.io.SendPassThrough(7, request)) << b.what;
    EXPECT_TRUE(rig.kernel.calls.empty()) << b.what;
    EXPECT_EQ(request[2], 0xFF) << b.what;
  }
}

}  // namespace
}  // namespace zentor::platform::linux_os
