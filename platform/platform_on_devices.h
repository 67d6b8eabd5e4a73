// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace zentor::platform {

// A platform whose drives are those of a DeviceIo it is given: the system's own, or others
// standing in for them (the demo's virtual drives in real time).
class PlatformOnDevices : public Platform {
 public:
  explicit PlatformOnDevices(DeviceIo& devices) : devices_(devices) {}

  DeviceHandle OpenDevice(const std::string& name) override { return devices_.OpenDevice(name); }
  DeviceClaim ClaimDevice(const std::string& name) override { return devices_.ClaimDevice(name); }
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override {
    return devices_.SendPassThrough(device, request);
  }
  void CloseDevice(DeviceHandle device) override { devices_.CloseDevice(device); }
  std::vector<std::string> SystemNodes(const std::string& name) override {
    return devices_.SystemNodes(name);
  }
  PermissionRefusals permissionRefusals() const override { return devices_.permissionRefusals(); }
  std::optional<LostDrive> lostDrive() const override { return devices_.lostDrive(); }

 private:
  DeviceIo& devices_;
};

}  // namespace zentor::platform
