// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_aspi_manager.h"
#include "platform/sim/sim_bus.h"
#include "platform/sim/virtual_clock.h"

namespace zentor::platform::sim {

// A whole simulated machine: a bus of virtual drives, an ASPI manager over the same drives,
// virtual time and a chosen operating-system family. Time moves only when the program
// sleeps or waits, and ASPI requests complete as it reaches their due time. Keeping the
// machine up holds nothing; the holds are only counted, and so are the requests that reach
// a claimed drive while none is held.
class SimPlatform final : public Platform {
 public:
  enum class AspiLibrary { Present, Missing, LacksEntryPoint };

  explicit SimPlatform(int osFamily = kFamilyWithPassThrough);
  ~SimPlatform() override;

  int OsFamily() override { return osFamily_; }

  DeviceHandle OpenDevice(const std::string& name) override { return bus_.OpenDevice(name); }
  DeviceClaim ClaimDevice(const std::string& name) override;
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override {
    if (liveHolds_ == 0 && claimed_.contains(device)) ++unheldRequests_;
    return bus_.SendPassThrough(device, request);
  }
  void CloseDevice(DeviceHandle device) override {
    claimed_.erase(device);
    bus_.CloseDevice(device);
  }
  PermissionRefusals permissionRefusals() const override { return bus_.permissionRefusals(); }

  AspiLoad LoadAspiManager() override;
  std::unique_ptr<CompletionEvent> CreateCompletionEvent() override;
  std::unique_ptr<MachineHold> KeepMachineUp() override;

  void SleepMs(std::uint32_t milliseconds) override;
  std::uint64_t NowMs() override { return clock_.NowMs(); }

  std::string ProgramFilePath() override { return programPath_; }
  std::vector<std::uint8_t> ReadVersionInfo(const std::string& path) override {
    return path == programPath_ ? versionInfo_ : std::vector<std::uint8_t>{};
  }
  // The program file the simulated machine runs, and the version information it carries.
  void SetProgramFile(std::string path, std::vector<std::uint8_t> versionInfo) {
    programPath_ = std::move(path);
    versionInfo_ = std::move(versionInfo);
  }

  // Moves virtual time on towards the deadline, completing ASPI requests as they fall due,
  // and stops early once done() holds. Returns done() at the end.
  bool RunUntil(std::uint64_t deadline, const std::function<bool()>& done);

  void SetAspiLibrary(AspiLibrary library) { aspiLibrary_ = library; }
  void SetEventsAvailable(bool available) { eventsAvailable_ = available; }
  // Events made and not yet released.
  std::size_t liveEventCount() const;
  // Holds of the machine not yet let go of, and all ever taken.
  int liveHoldCount() const { return liveHolds_; }
  int holdsTaken() const { return holdsTaken_; }
  // Requests sent to a claimed drive while the machine was not held.
  int unheldRequestCount() const { return unheldRequests_; }

  SimBus& bus() { return bus_; }
  VirtualClock& clock() { return clock_; }
  SimAspiManager& aspi() { return *aspi_; }

 private:
  class Event;
  void SignalEvent(void* postHandle);

  int osFamily_;
  SimBus bus_;
  VirtualClock clock_;
  AspiLibrary aspiLibrary_ = AspiLibrary::Present;
  bool eventsAvailable_ = true;
  mutable std::mutex eventsMutex_;
  std::set<void*> liveEvents_;
  int liveHolds_ = 0;
  int holdsTaken_ = 0;
  std::set<DeviceHandle> claimed_;
  int unheldRequests_ = 0;
  std::shared_ptr<SimAspiManager> aspi_;
  std::string programPath_ = "/usr/bin/zentor";
  std::vector<std::uint8_t> versionInfo_;
};

}  // namespace zentor::platform::sim
