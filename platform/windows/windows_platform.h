// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/platform_on_devices.h"
#include "platform/steady_clock.h"
#include "platform/windows/windows_device_io.h"

namespace zentor::platform::windows {

// The Windows machine: drives through the NT family's pass-through (or an ASPI manager on
// the 9x family), real time, the running program file and its version resource, kept from
// idle sleep by the thread's execution state (and, for a program without a window, from a
// log-off or shutdown by a hidden one). The drives can come from elsewhere instead (the
// simulated drives of --simulate).
class WindowsPlatform final : public PlatformOnDevices {
 public:
  // The system's drives are a member, made after the base that is handed them: the base
  // only keeps the reference.
  // The setting's notice hears, once, that the machine could not be kept up.
  explicit WindowsPlatform(KeepUpSetting keepUp = {})
      : PlatformOnDevices(native_), notice_(std::move(keepUp.notice)),
        windowless_(keepUp.windowless), reason_(keepUp.reason) {}
  // Over virtual drives the machine is left as it is: nothing real is cut.
  explicit WindowsPlatform(DeviceIo& devices)
      : PlatformOnDevices(devices), notice_({}), windowless_(false), keepsUp_(false) {}

  // From the running system: the NT family reaches drives by pass-through, 9x by ASPI.
  int OsFamily() override;

  // WNASPI32.DLL by LoadLibraryW, its two entry points by GetProcAddress.
  AspiLoad LoadAspiManager() override;
  // A Win32 event: auto-reset, unsignalled, unnamed; its handle goes into the request.
  std::unique_ptr<CompletionEvent> CreateCompletionEvent() override;
  std::unique_ptr<MachineHold> KeepMachineUp() override;

  void SleepMs(std::uint32_t milliseconds) override { clock_.SleepMs(milliseconds); }
  std::uint64_t NowMs() override { return clock_.NowMs(); }

  std::string ProgramFilePath() override;
  // The VERSIONINFO resource's strings, as the list of keys and values the program reads.
  std::vector<std::uint8_t> ReadVersionInfo(const std::string& path) override;

 private:
  WindowsDeviceIo native_;
  SteadyClock clock_;
  NoticeOnce notice_;
  bool windowless_;
  const char* reason_ = kKeepUpReason;
  bool keepsUp_ = true;
};

}  // namespace zentor::platform::windows
