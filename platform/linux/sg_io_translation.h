// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <scsi/sg.h>

#include <cstdint>

#include "platform/pass_through_request.h"

namespace zentor::platform::linux_os {

// One pass-through request becomes one SG_IO header whose pointers lead back into the
// caller's buffer, so data and sense move in place.
sg_io_hdr ToSgIo(const PassThroughView& request);

// The SCSI status to report: the device's status byte when it gave one; the "not reached"
// preset when the adapter or the driver failed without a status from the device.
std::uint8_t ScsiStatusOf(const sg_io_hdr& outcome);

// After the ioctl: brings the sense area into the fixed format the program reads (ASC at
// byte 12, ASCQ at 13) and clears what the kernel did not write, so no byte of an earlier
// command's sense is read as this command's.
void NormaliseSense(const sg_io_hdr& outcome, PassThroughView& request);

}  // namespace zentor::platform::linux_os
