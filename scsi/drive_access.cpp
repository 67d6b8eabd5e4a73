// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/drive_access.h"

#include <algorithm>

#include "scsi/drive_label.h"

namespace zentor::scsi {
namespace {

constexpr std::uint8_t kOpInquiry = 0x12;
constexpr std::uint8_t kInquiryLength = 36;
constexpr std::size_t kIdentificationOffset = 8;
constexpr std::size_t kIdentificationLength = 28;
constexpr std::size_t kProductIdOffset = 16;

}  // namespace

int DriveAccess::Dispatch(std::uint32_t transferLength) {
  request_.lastAnswered = false;
  request_.lastTransferred = 0;
  if (transferLength > kDataBufferSize) {
    request_.lastAsc = 0;
    request_.lastAscq = 0;
    return 0;
  }
  switch (transportKind) {
    case TransportKind::DriveLetter:
    case TransportKind::CdromDevice:
      return passThrough_.SendPassThrough(request_, transportKind, transferLength);
    case TransportKind::Aspi:
      if (aspi_) return aspi_->SendAspi(request_, transferLength);
      break;
  }
  // Without a loaded ASPI manager nothing reaches a drive.
  request_.lastAsc = 0;
  request_.lastAscq = 0;
  return 0;
}

void DriveAccess::PrepareCommand(std::uint8_t flags, std::uint8_t cdbLength,
                                 std::initializer_list<std::uint8_t> cdbBytes) {
  request_.aspi.hostAdapter = request_.address.hostAdapter;
  request_.aspi.targetId = request_.address.targetId;
  request_.aspi.flags = flags;
  request_.aspi.cdbLength = cdbLength;
  std::copy_n(cdbBytes.begin(), std::min<std::size_t>(cdbBytes.size(), sizeof request_.aspi.cdb),
              request_.aspi.cdb);
}

int DriveAccess::Inquiry() {
  // A drive that answers with fewer than 36 bytes must not leave the previous drive's
  // identity in the buffer to be read as its own.
  std::fill_n(request_.dataBuffer, kInquiryLength, 0);
  PrepareCommand(kFlagsDataIn, 6, {kOpInquiry, 0x00, 0x00, 0x00, kInquiryLength, 0x00});
  return Dispatch(kInquiryLength);
}

std::string DriveAccess::IdentificationText() const {
  const auto* begin = request_.dataBuffer + kIdentificationOffset;
  const auto* end = std::find(begin, begin + kIdentificationLength, 0);
  return std::string(begin, end);
}

std::array<std::uint8_t, 16> DriveAccess::ProductId() const {
  std::array<std::uint8_t, 16> id{};
  std::copy_n(request_.dataBuffer + kProductIdOffset, id.size(), id.begin());
  return id;
}

bool DriveAccess::ClaimDrive(std::optional<platform::DriveInUse>& inUse) {
  inUse.reset();
  if (transportKind == TransportKind::Aspi) return true;
  return passThrough_.ClaimDevice(transportKind, request_.address.deviceNumber, inUse);
}

void DriveAccess::ParseDriveLabel(std::string_view label) {
  ReadDriveLabel(label, transportKind, request_.address);
  if (transportKind != TransportKind::Aspi) passThrough_.CloseCachedDeviceHandle();
}

}  // namespace zentor::scsi
