// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>

namespace zentor::platform::linux_os {

// The drive's block node ("/dev/srN") when a file system on its disc is mounted, in this
// process's view of the mounts; nothing otherwise. The node is any of the drive's nodes.
std::optional<std::string> MountedBlockNodeOf(const std::string& node);

}  // namespace zentor::platform::linux_os
