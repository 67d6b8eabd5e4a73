// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>

#include "platform/platform.h"
#include "scsi/drive_access.h"
#include "scsi/startup_failure.h"

namespace zentor::scsi {

// Loads the ASPI manager, checks that it is ready and attaches it to the command block with
// the adapter count it reports. On failure the returned message ends the program:
//   "Not found 'ASPI32.DLL'"            the library cannot be loaded
//   "ASPI Function Error 'ASPI32.DLL'"  an entry point is missing (the library is unloaded)
//   "Not found ASPI MANAGER"            the manager's status byte is not 1
std::optional<StartupFailure> LoadAspiManagerAtStartup(platform::Platform& platform,
                                                       DriveAccess& drives);

}  // namespace zentor::scsi
