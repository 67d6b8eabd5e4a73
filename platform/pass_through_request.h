// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/pass_through_header.h"

namespace zentor::platform {

// A pass-through request taken apart by a back end: the header as sent, and the parts of
// the caller's buffer that its offsets name. Back ends never trust the offsets blindly: a
// header whose areas leave the buffer or overlap the header is refused.
struct PassThroughView {
  PassThroughHeader header;
  std::span<std::uint8_t> cdb;    // cdbLength bytes
  std::span<std::uint8_t> sense;  // senseInfoLength bytes at senseInfoOffset
  std::span<std::uint8_t> data;   // dataTransferLength bytes at dataBufferOffset
};

std::optional<PassThroughView> ViewPassThrough(std::span<std::uint8_t> request);

// Writes the outcome fields back into the header in place. Only ScsiStatus is read by the
// program; the others follow the driver's habit of reporting what was really moved.
void StoreScsiStatus(std::span<std::uint8_t> request, std::uint8_t status);
void StoreTransferred(std::span<std::uint8_t> request, std::uint32_t dataBytes,
                      std::uint8_t senseBytes);

}  // namespace zentor::platform
