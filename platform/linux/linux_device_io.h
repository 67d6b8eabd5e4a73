// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/device_io.h"
#include "platform/linux/drive_lock.h"
#include "platform/linux/syscalls.h"

namespace zentor::platform::linux_os {

// Drives through the kernel's SCSI interfaces. A CD-ROM class device goes through its SCSI
// generic node when that opens for reading and writing (no capability needed, and the
// kernel sends no media checks of its own on opening it), else through /dev/srN. Each
// request reaches the drive exactly once: on /dev/srN one ioctl(SG_IO), which the block
// layer waits out without interruption; on a generic node, where SG_IO would be cut by any
// signal and send the command again when restarted, the request is submitted with write(2)
// and its answer collected with read(2), a collection that a signal only delays.
class LinuxDeviceIo : public DeviceIo {
 public:
  explicit LinuxDeviceIo(Syscalls& syscalls = KernelSyscalls()) : syscalls_(syscalls) {}

  DeviceHandle OpenDevice(const std::string& name) override;
  DeviceClaim ClaimDevice(const std::string& name) override;
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override;
  void CloseDevice(DeviceHandle device) override;
  // The node a name maps to and, for /dev/srN, its generic node; nothing for other names.
  std::vector<std::string> SystemNodes(const std::string& name) override;

  // What the kernel refused for lack of permission (EACCES, EPERM): nodes on open, vendor
  // commands on /dev/srN. The program treats these like any failure; a front end can tell
  // the user why.
  PermissionRefusals permissionRefusals() const override { return refusals_; }
  // The first node whose request failed because the device is gone: ENODEV, ENXIO, or a
  // request the kernel did not carry out while the device's state shows it being deleted.
  std::optional<LostDrive> lostDrive() const override { return lost_; }

 private:
  struct OpenNode {
    std::string path;
    bool generic = false;
    std::string genericPath;          // a block node's generic node, where it has one
    std::unique_ptr<DriveLock> lock = nullptr;  // a claimed handle's drive lock
  };

  DeviceClaim OpenPath(const std::string& path, bool claiming);
  std::optional<std::string> GenericNodeOf(const std::string& blockNode);
  bool SubmitAndCollect(int fd, void* io);
  void NoteRefusedNode(int error, const std::string& path);
  void NoteIfDeleted(const std::string& path);

  Syscalls& syscalls_;
  std::map<int, OpenNode> open_;
  PermissionRefusals refusals_;
  std::optional<LostDrive> lost_;
};

}  // namespace zentor::platform::linux_os
