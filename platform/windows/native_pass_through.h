// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/pass_through_request.h"

namespace zentor::platform::windows {

// SCSI_PASS_THROUGH as a 64-bit Windows driver reads it. The program's own request region
// is the 32-bit layout (44 bytes, a 4-byte DataBufferOffset); in a 64-bit process the
// structure has a pointer-wide DataBufferOffset, which moves everything after it:
//    0 u16 Length (56)          8 u8  DataIn
//    2 u8  ScsiStatus          12 u32 DataTransferLength
//    3 u8  PathId, 4 TargetId  16 u32 TimeOutValue
//    5 u8  Lun                 24 u64 DataBufferOffset
//    6 u8  CdbLength           32 u32 SenseInfoOffset
//    7 u8  SenseInfoLength     36 16 bytes Cdb, then 4 bytes of padding
// The native request is one buffer (the buffered form): the header, the sense area at 56
// and the data at 88.
inline constexpr std::size_t kNativeHeaderSize = 56;
inline constexpr std::size_t kNativeSenseOffset = 56;
inline constexpr std::size_t kNativeSenseRoom = 32;
inline constexpr std::size_t kNativeDataOffset = kNativeSenseOffset + kNativeSenseRoom;

// The native buffer for a request: every field from the program's header (path, target and
// LUN as given, the time-out as given), the sense area cleared, the data copied (a data-out
// command carries it; a data-in one has it overwritten).
std::vector<std::uint8_t> BuildNativeRequest(const PassThroughView& request);

// After the driver has answered into `native`: the SCSI status, the sense area (zero where
// the driver wrote nothing, since it went out cleared), the data of a data-in
// command and the lengths the driver reports moved go back into the program's request,
// as the other back ends leave them.
void CopyNativeOutcome(std::span<const std::uint8_t> native, std::span<std::uint8_t> request,
                       const PassThroughView& view);

}  // namespace zentor::platform::windows
