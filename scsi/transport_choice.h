// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>

#include "platform/platform.h"
#include "scsi/drive_access.h"
#include "scsi/startup_failure.h"

namespace zentor::scsi {

// Chooses how drives are reached from the operating-system family and sets
// transportKind:
//   family 2 (pass-through): CdromDevice when one of the CD-ROM class devices 0..9 opens,
//                            else DriveLetter;
//   family 1: Aspi, with the ASPI manager loaded (its failures end the program too);
//   any other family: "ASPI:LoadErr [<family>]" with an exclamation icon, and the program
//   ends.
std::optional<StartupFailure> ChooseTransport(platform::Platform& platform, DriveAccess& drives);

}  // namespace zentor::scsi
