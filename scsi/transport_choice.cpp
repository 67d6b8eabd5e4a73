#include "scsi/transport_choice.h"

#include "platform/platform.h"

namespace zentor::scsi {

std::optional<StartupFailure> ChooseTransport(int osFamily, DriveAccess& drives) {
  drives.transportKind = TransportKind::Aspi;
  if (osFamily == platform::kFamilyWithAspiManager) return std::nullopt;
  if (osFamily == platform::kFamilyWithPassThrough) {
    drives.transportKind = drives.passThrough().ProbeCdromDevices() ? TransportKind::CdromDevice
                                                                    : TransportKind::DriveLetter;
    return std::nullopt;
  }
  return StartupFailure{"ASPI:LoadErr [" + std::to_string(osFamily) + "]",
                        StartupFailure::Icon::Exclamation};
}

}  // namespace zentor::scsi
