// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "platform/device_io.h"

namespace zentor::app::cli {

// What zentor-cli says on stderr when the kernel kept it from a drive: which of the two
// refusals stopped it (a node it may not open, or vendor commands on /dev/srN without
// CAP_SYS_RAWIO) and what would allow the update. Empty when nothing was refused.
std::string PermissionHint(const platform::PermissionRefusals& refusals);

}  // namespace zentor::app::cli
