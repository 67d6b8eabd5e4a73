#include "scsi/drive_scan.h"

#include "scsi/drive_label.h"

namespace zentor::scsi {
namespace {

constexpr int kPassThroughDeviceNumbers = 100;

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

}  // namespace zentor::scsi
