#pragma once

#include "platform/linux/linux_device_io.h"
#include "platform/linux/linux_program_file.h"
#include "platform/platform.h"
#include "platform/steady_clock.h"

namespace zentor::platform::linux_os {

// The real machine: drives through SCSI generic, real time, the running program file. The
// drives can come from elsewhere instead (the demo puts its virtual drives here, so they
// run in real time on an otherwise real machine).
class LinuxPlatform final : public Platform {
 public:
  LinuxPlatform() : devices_(scsiGeneric_) {}
  explicit LinuxPlatform(DeviceIo& devices) : devices_(devices) {}

  int OsFamily() override { return kFamilyWithPassThrough; }

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

  AspiLoad LoadAspiManager() override;
  std::unique_ptr<CompletionEvent> CreateCompletionEvent() override;

  void SleepMs(std::uint32_t milliseconds) override { clock_.SleepMs(milliseconds); }
  std::uint64_t NowMs() override { return clock_.NowMs(); }

  std::string ProgramFilePath() override { return program_.ProgramFilePath(); }
  std::vector<std::uint8_t> ReadVersionInfo(const std::string& path) override {
    return program_.ReadVersionInfo(path);
  }

  // The kernel's drives, also when another DeviceIo stands in for them.
  const LinuxDeviceIo& scsiGeneric() const { return scsiGeneric_; }

 private:
  LinuxDeviceIo scsiGeneric_;
  DeviceIo& devices_;
  SteadyClock clock_;
  LinuxProgramFile program_;
};

}  // namespace zentor::platform::linux_os
