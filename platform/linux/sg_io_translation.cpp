// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/sg_io_translation.h"

#include <algorithm>
#include <array>

namespace zentor::platform::linux_os {
namespace {

constexpr unsigned kMillisecondsPerSecond = 1000;

// Low nibble of sg_io_hdr::driver_status. These are values, not bits: only "ok" and "sense
// data follows" mean the driver itself had no trouble.
constexpr unsigned kDriverByteMask = 0x0F;
constexpr unsigned kDriverOk = 0x00;
constexpr unsigned kDriverSense = 0x08;

// Sense data response codes.
constexpr std::uint8_t kResponseCodeMask = 0x7F;
constexpr std::uint8_t kFixedCurrent = 0x70;
constexpr std::uint8_t kFixedDeferred = 0x71;
constexpr std::uint8_t kDescriptorCurrent = 0x72;
constexpr std::uint8_t kDescriptorDeferred = 0x73;
constexpr std::size_t kFixedSenseLength = 18;
constexpr std::uint8_t kFixedAdditionalLength = 10;

int SgDirection(std::uint8_t dataIn) {
  switch (dataIn) {
    case kDataIn:
      return SG_DXFER_FROM_DEV;
    case kDataOut:
      return SG_DXFER_TO_DEV;
    default:
      return SG_DXFER_NONE;
  }
}

}  // namespace

sg_io_hdr ToSgIo(const PassThroughView& request) {
  sg_io_hdr io{};
  io.interface_id = 'S';
  io.dxfer_direction = SgDirection(request.header.dataIn);
  io.cmd_len = request.header.cdbLength;
  io.mx_sb_len = request.header.senseInfoLength;
  io.dxfer_len = request.header.dataTransferLength;
  io.dxferp = request.data.empty() ? nullptr : request.data.data();
  io.cmdp = request.cdb.data();
  io.sbp = request.sense.empty() ? nullptr : request.sense.data();
  io.timeout = request.header.timeOutValue * kMillisecondsPerSecond;
  return io;
}

std::uint8_t ScsiStatusOf(const sg_io_hdr& outcome) {
  if (outcome.status != kScsiStatusGood) return static_cast<std::uint8_t>(outcome.status);
  const unsigned driverByte = outcome.driver_status & kDriverByteMask;
  if (outcome.host_status != 0 || (driverByte != kDriverOk && driverByte != kDriverSense)) {
    return kScsiStatusNotReached;
  }
  return kScsiStatusGood;
}

void NormaliseSense(const sg_io_hdr& outcome, PassThroughView& request) {
  auto sense = request.sense;
  const std::size_t written = std::min<std::size_t>(outcome.sb_len_wr, sense.size());
  std::fill(sense.begin() + static_cast<std::ptrdiff_t>(written), sense.end(), 0);
  if (written < 4) return;
  const std::uint8_t code = sense[0] & kResponseCodeMask;
  if (code != kDescriptorCurrent && code != kDescriptorDeferred) return;

  // Descriptor format keeps key, ASC and ASCQ in bytes 1..3; the program reads the fixed
  // format, as older drives send it.
  std::array<std::uint8_t, kFixedSenseLength> fixed{};
  fixed[0] = code == kDescriptorCurrent ? kFixedCurrent : kFixedDeferred;
  fixed[2] = sense[1] & 0x0F;
  fixed[7] = kFixedAdditionalLength;
  fixed[12] = sense[2];
  fixed[13] = sense[3];
  const std::size_t n = std::min(sense.size(), fixed.size());
  std::copy_n(fixed.begin(), n, sense.begin());
  std::fill(sense.begin() + static_cast<std::ptrdiff_t>(n), sense.end(), 0);
}

}  // namespace zentor::platform::linux_os
