#include "platform/linux/linux_platform.h"

#include "platform/linux/aspi_library.h"
#include "platform/linux/eventfd_event.h"

namespace zentor::platform::linux_os {

AspiLoad LinuxPlatform::LoadAspiManager() {
  return LoadAspiLibrary();
}

std::unique_ptr<CompletionEvent> LinuxPlatform::CreateCompletionEvent() {
  return EventFdEvent::Create();
}

}  // namespace zentor::platform::linux_os
