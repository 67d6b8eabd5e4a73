#pragma once

#include "platform/device_io.h"
#include "platform/linux/syscalls.h"

namespace zentor::platform::linux_os {

// Drives through the kernel's SCSI generic interface: one open(2) per device, one
// ioctl(SG_IO) per request, close(2).
class LinuxDeviceIo : public DeviceIo {
 public:
  explicit LinuxDeviceIo(Syscalls& syscalls = KernelSyscalls()) : syscalls_(syscalls) {}

  DeviceHandle OpenDevice(const std::string& name) override;
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override;
  void CloseDevice(DeviceHandle device) override;

 private:
  Syscalls& syscalls_;
};

}  // namespace zentor::platform::linux_os
