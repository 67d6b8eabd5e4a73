// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/pass_through_transport.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>
#include <utility>

#include "scsi/device_name.h"

namespace zentor::scsi {
namespace {

// The driver's own time-out; a command never blocks the program longer.
constexpr std::uint32_t kTimeOutSeconds = 2;
constexpr std::uint8_t kCdbBytesCopied = 12;
constexpr int kProbedCdromDevices = 10;

std::uint8_t DataInFromFlags(std::uint8_t flags) {
  if (flags == kFlagsDataIn) return platform::kDataIn;
  if (flags == kFlagsDataOut) return platform::kDataOut;
  return platform::kDataUnspecified;
}

void FillHeader(ScsiRequest& request, std::uint32_t transferLength) {
  platform::PassThroughHeader& header = request.passThrough.header;
  header.length = sizeof(platform::PassThroughHeader);
  header.scsiStatus = platform::kScsiStatusNotReached;
  // The opened device already names the drive.
  header.pathId = 0;
  header.targetId = 0;
  header.lun = 0;
  header.cdbLength = request.aspi.cdbLength;
  header.senseInfoLength = kPassThroughSenseLength;
  header.dataIn = DataInFromFlags(request.aspi.flags);
  header.dataTransferLength = transferLength;
  header.timeOutValue = kTimeOutSeconds;
  header.dataBufferOffset = kPassThroughDataOffset;
  header.senseInfoOffset = kPassThroughSenseOffset;
  std::fill(std::begin(header.cdb), std::end(header.cdb), 0);
  std::copy_n(request.aspi.cdb, kCdbBytesCopied, header.cdb);
}

}  // namespace

int PassThroughTransport::SendPassThrough(ScsiRequest& request, TransportKind kind,
                                          std::uint32_t transferLength) {
  FillHeader(request, transferLength);
  if (!CachedDeviceHandle) {
    const platform::DeviceHandle device =
        devices_.OpenDevice(DeviceName(kind, request.address.deviceNumber));
    if (device == platform::kNoDevice) {
      request.lastAsc = 0;
      request.lastAscq = 0;
      return 0;
    }
    CachedDeviceHandle = device;
  }

  // Whether the call went through is not asked: a request that never reached the drive
  // keeps the preset status 255 and so counts as failed below.
  auto* start = reinterpret_cast<std::uint8_t*>(&request) + offsetof(ScsiRequest, passThrough);
  devices_.SendPassThrough(*CachedDeviceHandle,
                           std::span<std::uint8_t>(start, kPassThroughDataOffset + transferLength));

  request.lastAsc = 0;
  request.lastAscq = 0;
  const platform::PassThroughHeader& answer = request.passThrough.header;
  const std::uint8_t status = answer.scsiStatus;
  request.lastAnswered = status != platform::kScsiStatusNotReached;
  // The driver writes back how many data bytes really moved.
  request.lastTransferred =
      request.lastAnswered ? std::min(answer.dataTransferLength, transferLength) : 0;
  if (status == platform::kScsiStatusCheckCondition) {
    request.lastAsc = request.passThrough.senseData[12];
    request.lastAscq = request.passThrough.senseData[13];
    return 0;
  }
  return status == platform::kScsiStatusGood ? 1 : 0;
}

bool PassThroughTransport::ClaimDevice(TransportKind kind, std::uint8_t deviceNumber,
                                       std::optional<platform::DriveInUse>& inUse) {
  CloseCachedDeviceHandle();
  platform::DeviceClaim claim = devices_.ClaimDevice(DeviceName(kind, deviceNumber));
  inUse = std::move(claim.inUse);
  if (claim.device == platform::kNoDevice) return false;
  CachedDeviceHandle = claim.device;
  return true;
}

void PassThroughTransport::CloseCachedDeviceHandle() {
  if (CachedDeviceHandle) devices_.CloseDevice(*CachedDeviceHandle);
  CachedDeviceHandle.reset();
}

bool PassThroughTransport::ProbeCdromDevices() {
  bool found = false;
  for (int n = 0; n < kProbedCdromDevices; ++n) {
    const platform::DeviceHandle device =
        devices_.OpenDevice(DeviceName(TransportKind::CdromDevice, static_cast<std::uint8_t>(n)));
    if (device == platform::kNoDevice) continue;
    devices_.CloseDevice(device);
    found = true;
  }
  return found;
}

}  // namespace zentor::scsi
