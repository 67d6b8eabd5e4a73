// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>

#include "platform/aspi_manager.h"

namespace zentor::platform::linux_os {

// A completion event on an eventfd: created unsignalled, signalled by any write to the
// descriptor (the manager writes to the descriptor number carried in the post-procedure
// field), reset by reading it, which a successful wait does: so it resets itself.
class EventFdEvent final : public CompletionEvent {
 public:
  // Nullptr when the kernel gives no descriptor.
  static std::unique_ptr<EventFdEvent> Create();
  ~EventFdEvent() override;
  EventFdEvent(const EventFdEvent&) = delete;
  EventFdEvent& operator=(const EventFdEvent&) = delete;

  void* PostHandle() override;
  bool Wait(std::uint32_t milliseconds) override;
  void Reset() override;

 private:
  explicit EventFdEvent(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace zentor::platform::linux_os
