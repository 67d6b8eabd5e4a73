// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/linux_platform.h"

#include "platform/linux/aspi_library.h"
#include "platform/linux/eventfd_event.h"

#include <filesystem>

namespace zentor::platform::linux_os {

AspiLoad LinuxPlatform::LoadAspiManager() {
  return LoadAspiLibrary();
}

std::unique_ptr<CompletionEvent> LinuxPlatform::CreateCompletionEvent() {
  return EventFdEvent::Create();
}

std::unique_ptr<MachineHold> LinuxPlatform::KeepMachineUp() {
  if (!keepsUp_) return nullptr;
  const std::string name = std::filesystem::path(program_.ProgramFilePath()).filename();
  return inhibitor_.Hold(name.empty() ? "zentor" : name);
}

}  // namespace zentor::platform::linux_os
