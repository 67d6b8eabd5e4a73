// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/eventfd_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace zentor::platform::linux_os {

std::unique_ptr<EventFdEvent> EventFdEvent::Create() {
  const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd < 0) return nullptr;
  return std::unique_ptr<EventFdEvent>(new EventFdEvent(fd));
}

EventFdEvent::~EventFdEvent() {
  close(fd_);
}

void* EventFdEvent::PostHandle() {
  return reinterpret_cast<void*>(static_cast<std::intptr_t>(fd_));
}

bool EventFdEvent::Wait(std::uint32_t milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{fd_, POLLIN, 0};
    const int ready = poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    std::uint64_t count = 0;
    // Another reader can only be a Reset racing us; the signal is then gone, wait on.
    if (read(fd_, &count, sizeof count) == sizeof count) return true;
    if (left <= 0) return false;
  }
}

void EventFdEvent::Reset() {
  std::uint64_t count = 0;
  [[maybe_unused]] const auto ignored = read(fd_, &count, sizeof count);
}

}  // namespace zentor::platform::linux_os
