// SPDX-License-Identifier: GPL-2.0-or-later
// The Linux back end on a fake kernel, for what a real kernel will not readily do: adapter
// and driver errors, descriptor sense, a failing ioctl. Node choice, the generic node's
// write and read, signals, permissions, residuals and vanishing drives run through the real
// kernel (tests/kernel).
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

// Records every call and plays the driver's part of SG_IO on /dev/srN: one ioctl.
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
    return kernel ? kernel(*static_cast<sg_io_hdr*>(argument)) : 0;
  }
  // Only /dev/srN is opened here: the generic node's calls are the real kernel's to show.
  ssize_t Write(int, const void*, std::size_t) override { return Unexpected("write"); }
  int Poll(pollfd*, nfds_t, int) override { return static_cast<int>(Unexpected("poll")); }
  ssize_t Read(int, void*, std::size_t) override { return Unexpected("read"); }
  ssize_t Unexpected(const char* call) {
    ADD_FAILURE() << call << " on the block node";
    errno = ENOSYS;
    return -1;
  }
  int Close(int fd) override {
    calls.push_back("close " + std::to_string(fd));
    return 0;
  }
  std::vector<std::string> ListDirectory(const std::string& path) override {
    return path == "/sys/class/block/sr3/device/scsi_generic" ? genericOfSr3
                                                              : std::vector<std::string>{};
  }

  int openFlags = 0;
  std::map<std::string, int> openErrors;
  std::vector<std::string> genericOfSr3;
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

// Open flags, the fall-back to /dev/srN, closing, and nothing sent on a closed handle.
TEST(LinuxDeviceIo, OpensTheGenericNodeOrElseTheBlockNodeAndClosesWhatItOpened) {
  FakeKernel kernel;
  kernel.genericOfSr3 = {"sg5"};
  kernel.openErrors = {{"/dev/sg5", EACCES}, {"/dev/sg1", ENOENT}};
  LinuxDeviceIo io(kernel);
  EXPECT_EQ(io.OpenDevice("\\\\.\\e:"), kNoDevice);
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
    bool lost = false;  // the drive is named as gone: its device folder is gone, unlike for others
  };
  const Case cases[] = {
      {"good", 0, 0x00, 0, 0, 0x00, true},
      {"good, but short", 0, 0x00, 0, 0, 0x00, true, 384, 16000},
      {"check condition, descriptor sense", 0, 0x02, 0, 0x08, 0x02, true},
      {"ioctl failed", -1, 0x00, 0, 0, 0xFF, false},
      {"no device on the adapter", 0, 0x00, 0x01, 0, 0xFF, true},
      {"adapter error, the device deleted", 0, 0x00, 0x07, 0, 0xFF, true, 0, 16384, true},
      {"driver time-out", 0, 0x00, 0, 0x06, 0xFF, true},
      {"status despite adapter complaint", 0, 0x02, 0x07, 0x08, 0x02, true},
  };
  // Descriptor sense: the codes land in the fixed places, where the program reads them.
  const std::uint8_t sense[] = {0x72, 0x05, 0x20, 0x00, 0, 0, 0, 0};
  for (const Case& c : cases) {
    FakeKernel kernel;  // a drive open as /dev/sr3 (no generic node) under descriptor 7
    LinuxDeviceIo io{kernel};
    // A device being deleted shows in its state; the real kernel's drive_removed shows that.
    kernel.openErrors["/sys/class/block/sr3/device/state"] = c.lost ? ENOENT : EACCES;
    ASSERT_EQ(io.OpenDevice("\\\\.\\cdrom3"), 7);
    kernel.kernel = [&](sg_io_hdr& s) {
      s.status = c.status, s.host_status = c.hostStatus, s.driver_status = c.driverStatus;
      s.resid = c.resid;
      std::memcpy(s.sbp, sense, sizeof sense);
      s.sb_len_wr = s.status == 0x02 ? sizeof sense : 0;
      errno = EIO;
      return c.ioctlResult;
    };
    auto request = Request(1, 16384, kFlashReadCdb);
    EXPECT_EQ(io.SendPassThrough(7, request), c.reached) << c.what;
    EXPECT_EQ(request[2], c.scsiStatus) << c.what;
    EXPECT_EQ(io.lostDrive().has_value(), c.lost) << c.what;
    std::uint32_t transferred = 0;
    std::memcpy(&transferred, request.data() + 12, sizeof transferred);
    EXPECT_EQ(transferred, c.transferred) << c.what;
    if (c.status == 0x02) {
      EXPECT_EQ(request[48], 0x70) << c.what;
      EXPECT_EQ(request[50], 0x05) << c.what;
      EXPECT_EQ(request[60], 0x20) << c.what;
    }
  }
}

}  // namespace
}  // namespace zentor::platform::linux_os
