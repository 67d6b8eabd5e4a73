// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>
#include <string>

namespace zentor::platform::linux_os {

// Maps the program's device names onto Linux device nodes:
//   "\\.\cdromN"      -> /dev/srN   (the CD-ROM class device N)
//   "\\.\d:".."\\.\z:" -> /dev/sg0 .. /dev/sg22 (the generic SCSI nodes, d first)
// Every other name has no node, so opening it fails like a missing device.
std::optional<std::string> DevicePathFor(const std::string& name);

// The drive's SCSI device folder in sysfs as reached from one of its nodes: /dev/srN and
// /dev/sgN of one drive lead to the same folder. Nothing for any other node.
std::optional<std::string> ScsiDeviceFolderOf(const std::string& node);

// Where the kernel names the SCSI generic node of a CD-ROM class node: the folder
// /sys/class/block/srN/device/scsi_generic/ holds one entry, "sgM". Nothing for a node
// that is not /dev/srN.
std::optional<std::string> GenericNodeFolderOf(const std::string& blockNode);

}  // namespace zentor::platform::linux_os
