// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/steady_clock.h"

#include <chrono>
#include <thread>

namespace zentor::platform {

void SteadyClock::SleepMs(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint64_t SteadyClock::NowMs() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace zentor::platform
