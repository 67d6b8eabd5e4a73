// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace zentor::platform {

// The ASPI execute-SCSI request in its published field order, as the ASPI manager receives
// it. Pointer fields are native, so the request has its 80-byte size only in a 32-bit build.
struct AspiExecRequest {
  std::uint8_t commandCode;
  std::uint8_t status;  // see the kAspi* values; written by the manager on completion
  std::uint8_t hostAdapter;
  std::uint8_t flags;
  std::uint32_t reserved0;
  std::uint8_t targetId;
  std::uint8_t lun;
  std::uint16_t reserved1;
  // The data length asked for; on completion, a manager that can tell writes back the
  // bytes it really moved.
  std::uint32_t bufferLength;
  std::uint8_t* bufferPointer;
  std::uint8_t senseLength;
  std::uint8_t cdbLength;
  std::uint8_t hostAdapterStatus;
  std::uint8_t targetStatus;
  void* postProcedure;  // the completion event the manager signals
  void* reserved2;
  std::uint8_t reserved3[16];
  std::uint8_t cdb[16];
  std::uint8_t senseArea[16];  // byte 12 is the ASC, byte 13 the ASCQ
};

static_assert(sizeof(void*) != 4 || sizeof(AspiExecRequest) == 80);
static_assert(offsetof(AspiExecRequest, targetId) == 8);
static_assert(offsetof(AspiExecRequest, bufferLength) == 12);
static_assert(offsetof(AspiExecRequest, bufferPointer) == 16);

inline constexpr std::uint8_t kAspiExecuteScsi = 2;  // command code

// Request status.
inline constexpr std::uint8_t kAspiPending = 0;
inline constexpr std::uint8_t kAspiDone = 1;
inline constexpr std::uint8_t kAspiAborted = 2;
inline constexpr std::uint8_t kAspiDoneWithError = 4;  // sense data valid
inline constexpr std::uint8_t kAspiNoDevice = 0x82;

// Flags.
inline constexpr std::uint8_t kAspiDirectionIn = 0x08;
inline constexpr std::uint8_t kAspiDirectionOut = 0x10;
inline constexpr std::uint8_t kAspiEventNotify = 0x40;

}  // namespace zentor::platform
