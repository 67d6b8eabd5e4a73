// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <map>
#include <string>

#include "platform/device_io.h"

namespace zentor::platform::windows {

// Drives through the NT family's SCSI pass-through: CreateFileW on "\\.\cdromN" or
// "\\.\d:" (read and write access, shared for reading and writing, an existing device),
// DeviceIoControl with IOCTL_SCSI_PASS_THROUGH in the buffered form, CloseHandle. Each
// request is rebuilt in the 64-bit layout the driver reads (native_pass_through.h) and its
// outcome copied back.
class WindowsDeviceIo final : public DeviceIo {
 public:
  WindowsDeviceIo() = default;
  ~WindowsDeviceIo() override;
  WindowsDeviceIo(const WindowsDeviceIo&) = delete;
  WindowsDeviceIo& operator=(const WindowsDeviceIo&) = delete;

  DeviceHandle OpenDevice(const std::string& name) override;
  // The claim is a named mutex per drive, keyed on its SCSI address in the machine-wide
  // namespace ("Global\..."), held by this process until the handle is closed: a second
  // update of the drive, through any of its names, from this program or another copy of it
  // in any session, is refused before anything is sent to the drive. Where the system
  // refuses the machine-wide namespace the session's own ("Local\...") is used, and copies
  // in other sessions do not meet; where the address cannot be read the key is the device
  // name, and the drive's other names do not meet.
  DeviceClaim ClaimDevice(const std::string& name) override;
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override;
  void CloseDevice(DeviceHandle device) override;

 private:
  std::map<DeviceHandle, void*> claims_;  // device handle -> its claim's mutex
};

}  // namespace zentor::platform::windows
