// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/clock.h"

namespace zentor::platform {

// Real time: the sleeps really wait.
class SteadyClock final : public Clock {
 public:
  void SleepMs(std::uint32_t milliseconds) override;
  std::uint64_t NowMs() override;
};

}  // namespace zentor::platform
