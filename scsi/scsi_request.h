// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/aspi_request.h"
#include "platform/pass_through_header.h"

namespace zentor::scsi {

// The largest transfer of any command, and the size of the one data buffer.
inline constexpr std::uint32_t kDataBufferSize = 0x4000;

// How drives are reached; settled once at start-up.
enum class TransportKind : std::uint8_t { Aspi = 0, DriveLetter = 1, CdromDevice = 2 };

// Data direction as the ASPI request flags carry it; the master copy for every transport.
inline constexpr std::uint8_t kFlagsDataIn = 0x08;
inline constexpr std::uint8_t kFlagsDataOut = 0x10;
inline constexpr std::uint8_t kFlagsNoData = 0x00;

using platform::AspiExecRequest;

inline constexpr std::uint8_t kPassThroughSenseLength = 14;
inline constexpr std::uint32_t kPassThroughSenseOffset = 48;
inline constexpr std::uint32_t kPassThroughDataOffset = 80;

// The pass-through request up to its data: header, sense at 48, data directly behind at 80.
struct PassThroughRegion {
  platform::PassThroughHeader header;
  std::uint8_t padding[4];
  std::uint8_t senseData[kPassThroughSenseLength];
  std::uint8_t reserved[18];
};

static_assert(sizeof(PassThroughRegion) == kPassThroughDataOffset);
static_assert(offsetof(PassThroughRegion, senseData) == kPassThroughSenseOffset);

// Where the current command goes. LUN is always 0.
struct DriveAddress {
  std::uint8_t hostAdapter = 0;   // ASPI
  std::uint8_t targetId = 0;      // ASPI
  std::uint8_t deviceNumber = 0;  // pass-through, 0..99
};

// The one command block. Every command overwrites what the previous one left, the data
// buffer included; only one command is ever in flight.
struct ScsiRequest {
  AspiExecRequest aspi{};
  PassThroughRegion passThrough{};
  std::uint8_t dataBuffer[kDataBufferSize]{};
  DriveAddress address{};
  std::uint8_t lastAsc = 0;
  std::uint8_t lastAscq = 0;
  // Whether the drive answered the last command at all, with whatever status; false when
  // the command never reached it or no answer came in time.
  bool lastAnswered = false;
  // The data bytes the last command really moved, as the transport reported them. A
  // data-in command that moved fewer than it asked for left the rest of the buffer as the
  // command before had left it.
  std::uint32_t lastTransferred = 0;
};

// The pass-through request is sent in place as one buffer: header, sense and data.
static_assert(offsetof(ScsiRequest, dataBuffer) ==
              offsetof(ScsiRequest, passThrough) + kPassThroughDataOffset);

}  // namespace zentor::scsi
