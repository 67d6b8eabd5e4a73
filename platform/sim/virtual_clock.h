// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace zentor::platform::sim {

// Time that passes only when the program sleeps or waits, so a whole update runs in
// milliseconds.
class VirtualClock : public Clock {
 public:
  void SleepMs(std::uint32_t milliseconds) override {
    NoteSleep(milliseconds);
    now_ += milliseconds;
  }
  std::uint64_t NowMs() override { return now_; }

  // Never backwards.
  void AdvanceTo(std::uint64_t milliseconds) { now_ = std::max(now_, milliseconds); }
  void NoteSleep(std::uint32_t milliseconds) { sleeps_.push_back(milliseconds); }
  const std::vector<std::uint32_t>& sleeps() const { return sleeps_; }

 private:
  std::uint64_t now_ = 0;
  std::vector<std::uint32_t> sleeps_;
};

}  // namespace zentor::platform::sim
