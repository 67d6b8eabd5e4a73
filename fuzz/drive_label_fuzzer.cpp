// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary text as a drive-list label on each transport: reading it never fails and sets
// only the fields of that transport. And every address, listed with any identification
// text, reads back as itself.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sim/sim_bus.h"
#include "scsi/drive_access.h"
#include "scsi/drive_label.h"

using namespace zentor;

namespace {

const scsi::TransportKind kKinds[] = {scsi::TransportKind::Aspi, scsi::TransportKind::DriveLetter,
                                      scsi::TransportKind::CdromDevice};

bool Same(const scsi::DriveAddress& a, const scsi::DriveAddress& b) {
  return a.hostAdapter == b.hostAdapter && a.targetId == b.targetId &&
         a.deviceNumber == b.deviceNumber;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const scsi::TransportKind kind = kKinds[data[0] % std::size(kKinds)];
  const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);
  platform::sim::SimBus bus;

  // Any label: the other transports' fields keep their values.
  scsi::DriveAccess drives(bus);
  drives.transportKind = kind;
  scsi::DriveAddress& address = drives.request().address;
  address = {data[1], data[2], data[3]};
  drives.ParseDriveLabel(text);
  if (kind == scsi::TransportKind::Aspi && address.deviceNumber != data[3]) __builtin_trap();
  if (kind != scsi::TransportKind::Aspi &&
      (address.hostAdapter != data[1] || address.targetId != data[2]))
    __builtin_trap();

  // A label the program made gives back the address it was made from.
  const scsi::DriveAddress listed{data[1], data[2], data[3]};
  const std::string label = scsi::FormatDriveLabel(kind, listed, text);
  scsi::DriveAccess again(bus);
  again.transportKind = kind;
  // Only the fields the label carries start out wrong.
  again.request().address = listed;
  if (kind == scsi::TransportKind::Aspi) {
    again.request().address.hostAdapter ^= 0x5A;
    again.request().address.targetId ^= 0x5A;
  } else {
    again.request().address.deviceNumber ^= 0x5A;
  }
  again.ParseDriveLabel(label);
  if (!Same(again.request().address, listed)) __builtin_trap();
  return 0;
}
