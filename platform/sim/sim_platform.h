#pragma once

#include "platform/platform.h"
#include "platform/sim/sim_bus.h"
#include "platform/sim/virtual_clock.h"

namespace zentor::platform::sim {

// A whole simulated machine: a bus of virtual drives, virtual time and a chosen
// operating-system family.
class SimPlatform final : public Platform {
 public:
  explicit SimPlatform(int osFamily = kFamilyWithPassThrough) : osFamily_(osFamily) {}

  int OsFamily() override { return osFamily_; }

  DeviceHandle OpenDevice(const std::string& name) override { return bus_.OpenDevice(name); }
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override {
    return bus_.SendPassThrough(device, request);
  }
  void CloseDevice(DeviceHandle device) override { bus_.CloseDevice(device); }

  void SleepMs(std::uint32_t milliseconds) override { clock_.SleepMs(milliseconds); }
  std::uint64_t NowMs() override { return clock_.NowMs(); }

  SimBus& bus() { return bus_; }
  VirtualClock& clock() { return clock_; }

 private:
  int osFamily_;
  SimBus bus_;
  VirtualClock clock_;
};

}  // namespace zentor::platform::sim
