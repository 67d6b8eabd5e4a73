// SPDX-License-Identifier: GPL-2.0-or-later
// The simulated ASPI manager as a real shared library, for testing the Linux loader: one
// CD-RW drive at host adapter 0, target 0; support info 0x0103 (ready, three adapters);
// requests complete from the manager's thread 20 ms after submission, signalling the
// eventfd named in the post-procedure field.
#include <unistd.h>

#include <cstdint>
#include <memory>

#include "platform/sim/sim_aspi_manager.h"

namespace {

using zentor::platform::sim::AspiCompletion;
using zentor::platform::sim::SimAspiManager;
using zentor::platform::sim::SimBus;
using zentor::platform::sim::VirtualDrive;

void SignalEventFd(void* postHandle) {
  const std::uint64_t one = 1;
  const int fd = static_cast<int>(reinterpret_cast<std::intptr_t>(postHandle));
  [[maybe_unused]] const auto written = write(fd, &one, sizeof one);
}

struct Manager {
  Manager() {
    bus.AttachAt(0, 0,
                 std::make_shared<VirtualDrive>(
                     VirtualDrive::Identity{"VAREL   ", "CD-RW KX1210A   ", "1.00"}));
    aspi.SetSupportInfo(0x0103);
    aspi.SetCompletion({AspiCompletion::When::After, 20, std::nullopt});
    aspi.RunInRealTime();
  }
  SimBus bus;
  SimAspiManager aspi{bus, SignalEventFd, [] { return std::uint64_t{0}; }};
};

Manager& TheManager() {
  static Manager manager;
  return manager;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::uint32_t GetASPI32SupportInfo() {
  return TheManager().aspi.GetASPI32SupportInfo();
}

__attribute__((visibility("default"))) std::uint32_t SendASPI32Command(void* request) {
  return TheManager().aspi.SendASPI32Command(
      static_cast<zentor::platform::AspiExecRequest*>(request));
}
}
