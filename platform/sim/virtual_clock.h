#pragma once

#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace zentor::platform::sim {

// Time that passes only when the program sleeps, so a whole update runs in milliseconds.
class VirtualClock : public Clock {
 public:
  void SleepMs(std::uint32_t milliseconds) override {
    sleeps_.push_back(milliseconds);
    now_ += milliseconds;
  }
  std::uint64_t NowMs() override { return now_; }

  // Lets drive work take time without the program sleeping.
  void Advance(std::uint64_t milliseconds) { now_ += milliseconds; }
  const std::vector<std::uint32_t>& sleeps() const { return sleeps_; }

 private:
  std::uint64_t now_ = 0;
  std::vector<std::uint32_t> sleeps_;
};

}  // namespace zentor::platform::sim
