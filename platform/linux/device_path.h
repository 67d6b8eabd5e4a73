#pragma once

#include <optional>
#include <string>

namespace zentor::platform::linux_os {

// Maps the program's device names onto Linux device nodes:
//   "\\.\cdromN"      -> /dev/srN   (the CD-ROM class device N)
//   "\\.\d:".."\\.\z:" -> /dev/sg0 .. /dev/sg22 (the generic SCSI nodes, d first)
// Every other name has no node, so opening it fails like a missing device.
std::optional<std::string> DevicePathFor(const std::string& name);

}  // namespace zentor::platform::linux_os
