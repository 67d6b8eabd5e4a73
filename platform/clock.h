// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

namespace zentor::platform {

// Pacing of drive work. The program waits only by fixed sleeps; tests and the demo run the
// same code on virtual time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual void SleepMs(std::uint32_t milliseconds) = 0;
  // Monotonic milliseconds since an arbitrary start.
  virtual std::uint64_t NowMs() = 0;
};

}  // namespace zentor::platform
