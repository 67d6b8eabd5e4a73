// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "scsi/scsi_request.h"

namespace zentor::scsi {

// The drive list shows each drive under a label that encodes its address, followed directly
// by its 28 identification characters:
//   "HA:%d ID:%d  "  ASPI host adapter and target
//   "drive%d :  "    drive-letter device number (0 = drive D)
//   "cdrom%d :  "    CD-ROM class device number
std::string FormatDriveLabel(TransportKind kind, const DriveAddress& address,
                             std::string_view identificationText);

// The inverse: sets the address fields that the transport uses and leaves the others.
// Numbers are read in full, so host adapter 12 is never taken for adapter 1. Missing digits
// give 0; a number beyond 255 gives 255, which no scanned drive has.
void ReadDriveLabel(std::string_view label, TransportKind kind, DriveAddress& address);

}  // namespace zentor::scsi
