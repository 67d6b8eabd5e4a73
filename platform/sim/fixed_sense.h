// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "platform/sim/drive_answer.h"

namespace zentor::platform::sim {

// Writes a drive's answer as fixed-format sense data, the form these drives report, cut to
// the room the request gives it.
inline void WriteFixedSense(std::span<std::uint8_t> sense, const DriveAnswer& answer) {
  std::array<std::uint8_t, 18> fixed{};
  fixed[0] = 0x70;
  fixed[2] = answer.senseKey;
  fixed[7] = static_cast<std::uint8_t>(fixed.size() - 8);
  fixed[12] = answer.asc;
  fixed[13] = answer.ascq;
  std::copy_n(fixed.begin(), std::min(sense.size(), fixed.size()), sense.begin());
}

}  // namespace zentor::platform::sim
