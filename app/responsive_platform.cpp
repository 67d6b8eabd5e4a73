// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/responsive_platform.h"

#include <algorithm>

namespace zentor::app {

void ResponsivePlatform::SleepMs(std::uint32_t milliseconds) {
  const std::uint64_t deadline = inner_.NowMs() + milliseconds;
  for (std::uint64_t now = inner_.NowMs(); now < deadline; now = inner_.NowMs()) {
    letWindowSystemIn_();
    inner_.SleepMs(static_cast<std::uint32_t>(std::min<std::uint64_t>(kSliceMs, deadline - now)));
  }
}

}  // namespace zentor::app
