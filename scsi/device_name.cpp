// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/device_name.h"

namespace zentor::scsi {

std::string DeviceName(TransportKind kind, std::uint8_t deviceNumber) {
  if (kind == TransportKind::CdromDevice) {
    return "\\\\.\\cdrom" + std::to_string(deviceNumber);
  }
  // Past 'z' the character is no letter. It must not wrap round to a byte that is one:
  // device 255 would otherwise name drive C.
  const int character = 'd' + deviceNumber;
  std::string name = "\\\\.\\d:";
  name[4] = static_cast<char>(character <= 0xFF ? character : 0xFF);
  return name;
}

}  // namespace zentor::scsi
