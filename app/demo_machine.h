#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/linux/linux_program_file.h"
#include "platform/platform.h"
#include "platform/sim/flash_drive.h"
#include "platform/sim/sim_bus.h"
#include "platform/steady_clock.h"

namespace zentor::app {

// A virtual drive of the demo, with the name of the update file made for it.
struct DemoDrive {
  std::string product;
  int typeCodeRow;
  std::string fileName;
  std::shared_ptr<platform::sim::FlashDrive> drive;
};

// Attaches one drive of each family 5..8 to the bus as CD-ROM devices 0..3, running on the
// clock. Each holds older firmware of its type; its update file holds newer firmware with
// the same identity.
std::vector<DemoDrive> AttachDemoDrives(platform::sim::SimBus& bus, platform::Clock& clock);

// The plain image the drive's update file carries.
std::vector<std::uint8_t> UpdateImageOf(const DemoDrive& drive);

// Writes the update file of every drive into the working directory, leaving alone any name
// that is taken (or cannot be looked at). Returns the names written.
std::vector<std::string> WriteSampleFiles(const std::vector<DemoDrive>& drives,
                                          platform::FileSystem& files);

// The machine the demo runs on: a few virtual drives of the newer families on a simulated
// bus, reached by pass-through, in real time (the drives take seconds to erase and
// program), with the running program file for the version label.
class DemoMachine final : public platform::Platform {
 public:
  DemoMachine() : drives_(AttachDemoDrives(bus_, clock_)) {}

  const std::vector<DemoDrive>& drives() const { return drives_; }

  int OsFamily() override { return platform::kFamilyWithPassThrough; }
  platform::AspiLoad LoadAspiManager() override {
    return {nullptr, platform::AspiLoad::Failure::LibraryNotFound};
  }
  std::unique_ptr<platform::CompletionEvent> CreateCompletionEvent() override { return nullptr; }
  platform::DeviceHandle OpenDevice(const std::string& name) override {
    return bus_.OpenDevice(name);
  }
  bool SendPassThrough(platform::DeviceHandle device, std::span<std::uint8_t> request) override {
    return bus_.SendPassThrough(device, request);
  }
  void CloseDevice(platform::DeviceHandle device) override { bus_.CloseDevice(device); }
  void SleepMs(std::uint32_t milliseconds) override { clock_.SleepMs(milliseconds); }
  std::uint64_t NowMs() override { return clock_.NowMs(); }
  std::string ProgramFilePath() override { return program_.ProgramFilePath(); }
  std::vector<std::uint8_t> ReadVersionInfo(const std::string& path) override {
    return program_.ReadVersionInfo(path);
  }

 private:
  platform::sim::SimBus bus_;
  platform::SteadyClock clock_;
  platform::linux_os::LinuxProgramFile program_;
  std::vector<DemoDrive> drives_;
};

}  // namespace zentor::app
