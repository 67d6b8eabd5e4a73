#pragma once

#include "platform/linux/linux_device_io.h"
#include "platform/platform.h"

namespace zentor::platform::linux_os {

// The real machine: drives through SCSI generic, real time.
class LinuxPlatform final : public Platform {
 public:
  int OsFamily() override { return kFamilyWithPassThrough; }

  DeviceHandle OpenDevice(const std::string& name) override { return devices_.OpenDevice(name); }
  bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) override {
    return devices_.SendPassThrough(device, request);
  }
  void CloseDevice(DeviceHandle device) override { devices_.CloseDevice(device); }

  AspiLoad LoadAspiManager() override;
  std::unique_ptr<CompletionEvent> CreateCompletionEvent() override;

  void SleepMs(std::uint32_t milliseconds) override;
  std::uint64_t NowMs() override;

 private:
  LinuxDeviceIo devices_;
};

}  // namespace zentor::platform::linux_os
