// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "scsi/scsi_request.h"

namespace zentor::scsi {

// "\\.\cdrom<n>" for the CD-ROM class; "\\.\d:" with its letter raised by n for drive
// letters, so 0 is D and 22 is Z. From 23 on the character is no drive letter and the name
// opens nothing. Drives A to C are never addressed.
std::string DeviceName(TransportKind kind, std::uint8_t deviceNumber);

}  // namespace zentor::scsi
