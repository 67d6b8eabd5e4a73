#include "scsi/device_name.h"

namespace zentor::scsi {

std::string DeviceName(TransportKind kind, std::uint8_t deviceNumber) {
  if (kind == TransportKind::CdromDevice) {
    return "\\\\.\\cdrom" + std::to_string(deviceNumber);
  }
  std::string name = "\\\\.\\d:";
  name[4] = static_cast<char>(static_cast<std::uint8_t>(name[4] + deviceNumber));
  return name;
}

}  // namespace zentor::scsi
