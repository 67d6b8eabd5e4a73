// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary bytes as the INQUIRY answer of the only drive on the bus, scanned over the
// pass-through and the ASPI transport. A drive is listed once at most, exactly when the
// product field of its answer (short answers end in NULs) names a supported model, and its
// label is its address followed by the identification text up to the first NUL.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "platform/sim/virtual_drive.h"
#include "scsi/aspi_startup.h"
#include "scsi/drive_access.h"
#include "scsi/drive_label.h"
#include "scsi/drive_scan.h"
#include "scsi/model_table.h"

using namespace zentor;

namespace {

std::vector<std::string> Scan(scsi::TransportKind kind, const std::vector<std::uint8_t>& answer) {
  const bool aspi = kind == scsi::TransportKind::Aspi;
  platform::sim::SimPlatform machine(aspi ? platform::kFamilyWithAspiManager
                                          : platform::kFamilyWithPassThrough);
  auto drive = std::make_shared<platform::sim::VirtualDrive>(platform::sim::VirtualDrive::Identity{});
  drive->SetInquiryData(answer);
  if (aspi) {
    machine.bus().AttachAt(0, 3, drive);
  } else {
    machine.bus().Attach(platform::sim::SimBus::CdromName(7), drive);
  }
  scsi::DriveAccess drives(machine);
  drives.transportKind = kind;
  if (aspi && scsi::LoadAspiManagerAtStartup(machine, drives)) __builtin_trap();
  auto labels = scsi::ScanDrives(drives);
  if (machine.bus().openHandleCount() != 0) __builtin_trap();
  return labels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> answer(data, data + size);
  std::vector<std::uint8_t> seen(answer.begin(), answer.begin() + std::min<std::size_t>(size, 36));
  seen.resize(36, 0);
  std::array<std::uint8_t, 16> product{};
  std::copy_n(seen.begin() + 16, 16, product.begin());
  const bool supported = scsi::IsSupportedModel(product);
  const auto textEnd = std::find(seen.begin() + 8, seen.end(), 0);
  const std::string text(seen.begin() + 8, textEnd);

  for (auto kind : {scsi::TransportKind::CdromDevice, scsi::TransportKind::Aspi}) {
    const std::vector<std::string> labels = Scan(kind, answer);
    if (labels.size() != (supported ? 1u : 0u)) __builtin_trap();
    if (labels.empty()) continue;
    const scsi::DriveAddress address{0, 3, 7};
    if (labels[0] != scsi::FormatDriveLabel(kind, address, text)) __builtin_trap();
  }
  return 0;
}
