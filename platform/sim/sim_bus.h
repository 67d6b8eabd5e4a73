// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/device_io.h"
#include "platform/sim/virtual_drive.h"

namespace zentor::platform::sim {

// Virtual drives attached under device names, reached by pass-through requests exactly as
// real drives are, and at ASPI addresses (host adapter, target ID), reached through the
// simulated ASPI manager. One drive may be attached under several names and addresses.
class SimBus : public DeviceIo {
 public:
  // The bus formats its own names, independently of the program, so a program that builds
  // a wrong name finds no drive.
  static std::string CdromName(int number);         // "\\.\cdrom<number>"
  static std::string DriveLetterName(char letter);  // "\\.\<letter>:"

  void Attach(const std::string& name, std::shared_ptr<VirtualDrive> drive);
  void AttachAt(int hostAdapter, int targetId, std::shared_ptr<VirtualDrive> drive);
  std::shared_ptr<VirtualDrive> DriveAt(int hostAdapter, int targetId) const;

  DeviceHandle OpenDevice(const std::string& name) override;
  // Refused as in use when the drive is held elsewhere (VirtualDrive::SetHeldElsewhere),
  // naming the node as the bus names it.
  DeviceClaim ClaimDevice(const std::string& name) override;
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override;
  void CloseDevice(DeviceHandle device) override;
  PermissionRefusals permissionRefusals() const override { return refusals_; }

  // A name this user may not open (a node without read-write permission): the open fails
  // and is reported as refused, whether or not a drive is attached there.
  void DenyAccess(const std::string& name) { denied_.insert(name); }

  // What the program did with the bus.
  const std::vector<std::string>& openAttempts() const { return openAttempts_; }
  std::size_t openHandleCount() const { return open_.size(); }
  int closeCount() const { return closeCount_; }
  // Drops what was recorded so far (long runs would otherwise pile it up).
  void ForgetHistory() { openAttempts_.clear(); }
  // Requests that arrived on a handle that was not open (a handle used after closing).
  int strayRequests() const { return strayRequests_; }

 private:
  std::map<std::string, std::shared_ptr<VirtualDrive>> drives_;
  std::map<std::pair<int, int>, std::shared_ptr<VirtualDrive>> targets_;
  std::map<DeviceHandle, std::shared_ptr<VirtualDrive>> open_;
  DeviceHandle nextHandle_ = 100;
  std::vector<std::string> openAttempts_;
  int closeCount_ = 0;
  int strayRequests_ = 0;
  std::set<std::string> denied_;
  PermissionRefusals refusals_;
};

}  // namespace zentor::platform::sim
