#pragma once

#include "platform/device_io.h"
#include "platform/linux/syscalls.h"

namespace zentor::platform::linux_os {

// Drives through the kernel's SCSI generic interface: one open(2) per device, one
// ioctl(SG_IO) per request, close(2). Failed calls report errno.
class LinuxDeviceIo : public DeviceIo {
 public:
  explicit LinuxDeviceIo(Syscalls& syscalls = KernelSyscalls()) : syscalls_(syscalls) {}

  DeviceHandle OpenDevice(const std::string& name) override;
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override;
  void CloseDevice(DeviceHandle device) override;

  // How many opens and requests the kernel refused for lack of permission (EACCES, EPERM):
  // a node the user may not open, or vendor commands without CAP_SYS_RAWIO. The program
  // treats them like any failure; a front end can tell the user why.
  int permissionRefusals() const { return permissionRefusals_; }

 private:
  void NoteFailure(int error);

  Syscalls& syscalls_;
  int permissionRefusals_ = 0;
};

}  // namespace zentor::platform::linux_os
