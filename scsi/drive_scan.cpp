// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/drive_scan.h"

#include "scsi/drive_label.h"

namespace zentor::scsi {
namespace {

constexpr int kPassThroughDeviceNumbers = 100;
constexpr int kTargetsPerAdapter = 8;

}  // namespace

void ListIfSupported(const DriveAccess& drives, const ModelRecord* table,
                     std::vector<std::string>& labels) {
  const auto productId = drives.ProductId();
  if (!IsSupportedModel(productId, table)) return;
  labels.push_back(FormatDriveLabel(drives.transportKind, drives.request().address,
                                    drives.IdentificationText()));
}

std::vector<std::string> ScanPassThrough(DriveAccess& drives, const ModelRecord* table) {
  std::vector<std::string> labels;
  for (int n = 0; n < kPassThroughDeviceNumbers; ++n) {
    drives.request().address.deviceNumber = static_cast<std::uint8_t>(n);
    drives.passThrough().CloseCachedDeviceHandle();
    const int answered = drives.Inquiry();
    drives.passThrough().CloseCachedDeviceHandle();
    if (answered == 1) ListIfSupported(drives, table, labels);
  }
  return labels;
}

std::vector<std::string> ScanAspi(DriveAccess& drives, const ModelRecord* table) {
  std::vector<std::string> labels;
  for (int adapter = 0; adapter < drives.adapterCount; ++adapter) {
    for (int target = 0; target < kTargetsPerAdapter; ++target) {
      drives.request().address.hostAdapter = static_cast<std::uint8_t>(adapter);
      drives.request().address.targetId = static_cast<std::uint8_t>(target);
      if (drives.Inquiry() == 1) ListIfSupported(drives, table, labels);
    }
  }
  return labels;
}

std::vector<std::string> ScanDrives(DriveAccess& drives, const ModelRecord* table) {
  return drives.transportKind == TransportKind::Aspi ? ScanAspi(drives, table)
                                                     : ScanPassThrough(drives, table);
}

}  // namespace zentor::scsi
