// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/device_path.h"

#include <charconv>
#include <string_view>

namespace zentor::platform::linux_os {
namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";
constexpr std::string_view kCdromStem = "cdrom";
// The CD-ROM class is numbered like the program's scan, which never goes beyond 99.
constexpr unsigned kLastCdromNumber = 99;

std::optional<std::string> CdromPath(std::string_view digits) {
  if (digits.empty() || digits.size() > 2) return std::nullopt;
  if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
  unsigned number = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc{} || end != digits.data() + digits.size() || number > kLastCdromNumber) {
    return std::nullopt;
  }
  return "/dev/sr" + std::to_string(number);
}

std::optional<std::string> DriveLetterPath(std::string_view rest) {
  if (rest.size() != 2 || rest[1] != ':') return std::nullopt;
  const char letter = rest[0];
  if (letter < 'd' || letter > 'z') return std::nullopt;
  return "/dev/sg" + std::to_string(letter - 'd');
}

}  // namespace

std::optional<std::string> DevicePathFor(const std::string& name) {
  std::string_view view = name;
  if (!view.starts_with(kDevicePrefix)) return std::nullopt;
  view.remove_prefix(kDevicePrefix.size());
  if (view.starts_with(kCdromStem)) return CdromPath(view.substr(kCdromStem.size()));
  return DriveLetterPath(view);
}

std::optional<std::string> ScsiDeviceFolderOf(const std::string& node) {
  constexpr std::string_view kDevFolder = "/dev/";
  if (!node.starts_with(kDevFolder) || node.size() <= kDevFolder.size() + 2) return std::nullopt;
  const std::string name = node.substr(kDevFolder.size());
  if (name.starts_with("sr")) return "/sys/class/block/" + name + "/device";
  if (name.starts_with("sg")) return "/sys/class/scsi_generic/" + name + "/device";
  return std::nullopt;
}

std::optional<std::string> GenericNodeFolderOf(const std::string& blockNode) {
  const auto folder = ScsiDeviceFolderOf(blockNode);
  if (!folder || !blockNode.starts_with("/dev/sr")) return std::nullopt;
  return *folder + "/scsi_generic";
}

}  // namespace zentor::platform::linux_os
