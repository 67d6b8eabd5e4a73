// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/drive_label.h"

#include <algorithm>
#include <cstdio>

namespace zentor::scsi {
namespace {

constexpr std::size_t kHostAdapterPosition = 3;     // "HA:" then the number
constexpr std::size_t kTargetAfterHostAdapter = 4;  // " ID:" then the number
constexpr std::size_t kDeviceNumberPosition = 5;    // "cdrom" / "drive" then the number
constexpr std::size_t kMaxDigits = 3;
constexpr unsigned kLargestAddress = 255;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads up to kMaxDigits decimal digits at position; characters past the end are
// non-digits. Returns the value and how many digits it took.
std::pair<std::uint8_t, std::size_t> NumberAt(std::string_view label, std::size_t position) {
  unsigned value = 0;
  std::size_t digits = 0;
  while (digits < kMaxDigits && position + digits < label.size() &&
         IsDigit(label[position + digits])) {
    value = value * 10 + static_cast<unsigned>(label[position + digits] - '0');
    ++digits;
  }
  return {static_cast<std::uint8_t>(std::min(value, kLargestAddress)), digits};
}

}  // namespace

std::string FormatDriveLabel(TransportKind kind, const DriveAddress& address,
                             std::string_view identificationText) {
  char prefix[32];
  switch (kind) {
    case TransportKind::Aspi:
      std::snprintf(prefix, sizeof prefix, "HA:%d ID:%d  ", address.hostAdapter, address.targetId);
      break;
    case TransportKind::DriveLetter:
      std::snprintf(prefix, sizeof prefix, "drive%d :  ", address.deviceNumber);
      break;
    case TransportKind::CdromDevice:
      std::snprintf(prefix, sizeof prefix, "cdrom%d :  ", address.deviceNumber);
      break;
  }
  return std::string(prefix).append(identificationText);
}

void ReadDriveLabel(std::string_view label, TransportKind kind, DriveAddress& address) {
  if (kind != TransportKind::Aspi) {
    address.deviceNumber = NumberAt(label, kDeviceNumberPosition).first;
    return;
  }
  const auto [hostAdapter, digits] = NumberAt(label, kHostAdapterPosition);
  address.hostAdapter = hostAdapter;
  // With a one-digit adapter (or none) the target sits at its fixed place, character 8.
  const std::size_t targetPosition =
      kHostAdapterPosition + std::max<std::size_t>(digits, 1) + kTargetAfterHostAdapter;
  address.targetId = NumberAt(label, targetPosition).first;
}

}  // namespace zentor::scsi
