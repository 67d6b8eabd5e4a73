// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/mounted_disc.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/device_path.h"

namespace zentor::platform::linux_os {

// The drive's block node sits under its SCSI device folder as "block/srN", with its
// "major:minor" in "dev"; /proc/self/mountinfo has the device number of each mount in its
// third field.
std::optional<std::string> MountedBlockNodeOf(const std::string& node) {
  const auto folder = ScsiDeviceFolderOf(node);
  if (!folder) return std::nullopt;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(*folder + "/block", error)) {
    std::string number;
    std::getline(std::ifstream(entry.path() / "dev"), number);
    if (number.empty()) continue;
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
      std::istringstream fields(line);
      std::string id, parent, device;
      if (fields >> id >> parent >> device && device == number) {
        return "/dev/" + entry.path().filename().string();
      }
    }
  }
  return std::nullopt;
}

}  // namespace zentor::platform::linux_os
