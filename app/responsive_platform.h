// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>

#include "platform/platform.h"

namespace zentor::app {

// The machine as the window sees it. Drive work runs on the window's thread, and its
// sleeps (seconds, while a drive erases and programs its flash) would leave the window
// silent; here a sleep lets the window system in every few milliseconds, so the window
// repaints and answers the window manager, which would otherwise offer to kill a program
// in the middle of a flash. User input meanwhile is dropped by the dialog's guard.
class ResponsivePlatform final : public platform::Platform {
 public:
  // `letWindowSystemIn` runs the window system's pending work without the user's input.
  ResponsivePlatform(platform::Platform& inner, std::function<void()> letWindowSystemIn)
      : inner_(inner), letWindowSystemIn_(std::move(letWindowSystemIn)) {}

  int OsFamily() override { return inner_.OsFamily(); }
  platform::AspiLoad LoadAspiManager() override { return inner_.LoadAspiManager(); }
  std::unique_ptr<platform::CompletionEvent> CreateCompletionEvent() override {
    return inner_.CreateCompletionEvent();
  }
  platform::DeviceHandle OpenDevice(const std::string& name) override {
    return inner_.OpenDevice(name);
  }
  platform::DeviceClaim ClaimDevice(const std::string& name) override {
    return inner_.ClaimDevice(name);
  }
  bool SendPassThrough(platform::DeviceHandle device, std::span<std::uint8_t> request) override {
    return inner_.SendPassThrough(device, request);
  }
  void CloseDevice(platform::DeviceHandle device) override { inner_.CloseDevice(device); }
  platform::PermissionRefusals permissionRefusals() const override {
    return inner_.permissionRefusals();
  }
  std::optional<platform::LostDrive> lostDrive() const override { return inner_.lostDrive(); }
  std::string ProgramFilePath() override { return inner_.ProgramFilePath(); }
  std::vector<std::uint8_t> ReadVersionInfo(const std::string& path) override {
    return inner_.ReadVersionInfo(path);
  }
  std::uint64_t NowMs() override { return inner_.NowMs(); }
  std::unique_ptr<platform::MachineHold> KeepMachineUp() override { return inner_.KeepMachineUp(); }

  void SleepMs(std::uint32_t milliseconds) override;

  // The longest stretch a sleep goes without letting the window system in.
  static constexpr std::uint32_t kSliceMs = 10;

 private:
  platform::Platform& inner_;
  std::function<void()> letWindowSystemIn_;
};

}  // namespace zentor::app
