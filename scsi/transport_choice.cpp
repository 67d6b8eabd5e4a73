// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/transport_choice.h"

#include "platform/platform.h"
#include "scsi/aspi_startup.h"

namespace zentor::scsi {

std::optional<StartupFailure> ChooseTransport(platform::Platform& platform, DriveAccess& drives) {
  const int osFamily = platform.OsFamily();
  drives.transportKind = TransportKind::Aspi;
  if (osFamily == platform::kFamilyWithAspiManager) {
    return LoadAspiManagerAtStartup(platform, drives);
  }
  if (osFamily == platform::kFamilyWithPassThrough) {
    drives.transportKind = drives.passThrough().ProbeCdromDevices() ? TransportKind::CdromDevice
                                                                    : TransportKind::DriveLetter;
    return std::nullopt;
  }
  return StartupFailure{"ASPI:LoadErr [" + std::to_string(osFamily) + "]",
                        StartupFailure::Icon::Exclamation};
}

}  // namespace zentor::scsi
