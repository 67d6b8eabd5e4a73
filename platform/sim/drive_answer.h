// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

namespace zentor::platform::sim {

// How a virtual drive answers one command.
struct DriveAnswer {
  enum class Kind {
    Good,            // status GOOD, dataLength bytes moved
    CheckCondition,  // status CHECK CONDITION with sense key, ASC and ASCQ
    OtherStatus,     // any other SCSI status (busy, reservation conflict, ...)
    NoAnswer,        // the command never completes: adapter error or time-out
  };

  Kind kind = Kind::Good;
  std::uint8_t status = 0;
  std::uint8_t senseKey = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
  std::uint32_t dataLength = 0;

  static DriveAnswer Good(std::uint32_t dataLength = 0) {
    return {Kind::Good, 0x00, 0, 0, 0, dataLength};
  }
  static DriveAnswer Check(std::uint8_t senseKey, std::uint8_t asc, std::uint8_t ascq) {
    return {Kind::CheckCondition, 0x02, senseKey, asc, ascq, 0};
  }
  static DriveAnswer Status(std::uint8_t status) { return {Kind::OtherStatus, status, 0, 0, 0, 0}; }
  static DriveAnswer None() { return {Kind::NoAnswer, 0, 0, 0, 0, 0}; }
};

// Sense keys the virtual drives use.
inline constexpr std::uint8_t kSenseNotReady = 0x02;
inline constexpr std::uint8_t kSenseIllegalRequest = 0x05;
inline constexpr std::uint8_t kSenseUnitAttention = 0x06;

// Commands every virtual drive knows, and the refusals they share.
inline constexpr std::uint8_t kOpTestUnitReady = 0x00;
inline constexpr std::uint8_t kOpInquiry = 0x12;
inline constexpr std::uint8_t kAscInvalidOpcode = 0x20;
inline constexpr std::uint8_t kAscNoMedium = 0x3A;
inline constexpr std::uint8_t kAscInvalidField = 0x24;

}  // namespace zentor::platform::sim
