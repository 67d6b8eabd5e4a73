// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace zentor::platform {

static_assert(std::endian::native == std::endian::little,
              "the pass-through header is a little-endian wire layout");

// The fixed head of a pass-through request, as the driver receives it. The program builds it
// in place in front of the sense area and the data buffer; back ends read it and write the
// SCSI status back into it.
struct PassThroughHeader {
  std::uint16_t length;     // 44
  std::uint8_t scsiStatus;  // preset 255; the SCSI status byte afterwards
  std::uint8_t pathId;
  std::uint8_t targetId;
  std::uint8_t lun;
  std::uint8_t cdbLength;
  std::uint8_t senseInfoLength;
  std::uint8_t dataIn;  // see the kDataIn* values
  std::uint8_t padding[3];
  std::uint32_t dataTransferLength;
  std::uint32_t timeOutValue;      // seconds
  std::uint32_t dataBufferOffset;  // from the start of the header
  std::uint32_t senseInfoOffset;   // from the start of the header
  std::uint8_t cdb[16];
};

inline constexpr std::uint8_t kDataOut = 0;
inline constexpr std::uint8_t kDataIn = 1;
inline constexpr std::uint8_t kDataUnspecified = 2;

inline constexpr std::uint8_t kScsiStatusGood = 0x00;
inline constexpr std::uint8_t kScsiStatusCheckCondition = 0x02;
inline constexpr std::uint8_t kScsiStatusBusy = 0x08;
// Preset before every request: a request that never reached a drive keeps it.
inline constexpr std::uint8_t kScsiStatusNotReached = 0xFF;

static_assert(sizeof(PassThroughHeader) == 44);
static_assert(offsetof(PassThroughHeader, scsiStatus) == 2);
static_assert(offsetof(PassThroughHeader, cdbLength) == 6);
static_assert(offsetof(PassThroughHeader, senseInfoLength) == 7);
static_assert(offsetof(PassThroughHeader, dataIn) == 8);
static_assert(offsetof(PassThroughHeader, dataTransferLength) == 12);
static_assert(offsetof(PassThroughHeader, timeOutValue) == 16);
static_assert(offsetof(PassThroughHeader, dataBufferOffset) == 20);
static_assert(offsetof(PassThroughHeader, senseInfoOffset) == 24);
static_assert(offsetof(PassThroughHeader, cdb) == 28);

}  // namespace zentor::platform
