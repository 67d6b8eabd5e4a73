// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

namespace zentor::scsi {

// The additional sense codes the program acts on (lastAsc).
inline constexpr std::uint8_t kAscNone = 0x00;
inline constexpr std::uint8_t kAscInvalidOpcode = 0x20;
// "Medium not present": refused block while the drive is not ready for it; after the
// flash start, the drive that finished and restarted without a disc.
inline constexpr std::uint8_t kAscNoMedium = 0x3A;
// The drive's own update running; the phase is in the qualifier.
inline constexpr std::uint8_t kAscUpdatePhase = 0xF7;

}  // namespace zentor::scsi
