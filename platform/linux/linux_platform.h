// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/linux/linux_device_io.h"
#include "platform/linux/linux_program_file.h"
#include "platform/linux/logind_inhibitor.h"
#include "platform/platform_on_devices.h"
#include "platform/steady_clock.h"

namespace zentor::platform::linux_os {

// The real machine: drives through SCSI generic, real time, the running program file, kept
// up through logind. The drives can come from elsewhere instead (the demo puts its virtual
// drives here, so they run in real time on an otherwise real machine); an update of one of
// those cuts nothing real, so the machine is then left as it is, without a word.
class LinuxPlatform final : public PlatformOnDevices {
 public:
  // The system's drives are a member, made after the base that is handed them: the base
  // only keeps the reference.
  // `notice` hears, once, that the machine could not be kept up.
  explicit LinuxPlatform(KeepUpNotice notice = {})
      : PlatformOnDevices(scsiGeneric_), inhibitor_(std::move(notice)) {}
  explicit LinuxPlatform(DeviceIo& devices) : PlatformOnDevices(devices), keepsUp_(false) {}

  int OsFamily() override { return kFamilyWithPassThrough; }

  AspiLoad LoadAspiManager() override;
  std::unique_ptr<CompletionEvent> CreateCompletionEvent() override;
  // Listed under the running program's file name.
  std::unique_ptr<MachineHold> KeepMachineUp() override;

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
  SteadyClock clock_;
  LinuxProgramFile program_;
  LogindInhibitor inhibitor_{{}};
  bool keepsUp_ = true;
};

}  // namespace zentor::platform::linux_os
