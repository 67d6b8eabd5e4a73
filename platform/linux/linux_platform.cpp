#include "platform/linux/linux_platform.h"

#include <chrono>
#include <thread>

#include "platform/linux/aspi_library.h"
#include "platform/linux/eventfd_event.h"

namespace zentor::platform::linux_os {

AspiLoad LinuxPlatform::LoadAspiManager() {
  return LoadAspiLibrary();
}

std::unique_ptr<CompletionEvent> LinuxPlatform::CreateCompletionEvent() {
  return EventFdEvent::Create();
}

void LinuxPlatform::SleepMs(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint64_t LinuxPlatform::NowMs() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace zentor::platform::linux_os
