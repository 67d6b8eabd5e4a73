// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/cli/json_listing.h"

#include <algorithm>

#include "firmware/file_identity.h"
#include "scsi/device_name.h"
#include "scsi/drive_label.h"

namespace zentor::app::cli {
namespace {

// The entry's label ends where its identification text begins, after " :  " for the
// pass-through names and after two blanks for ASPI addresses; the text is INQUIRY's 8
// characters of vendor, 16 of product and 4 of revision.
constexpr std::size_t kVendorLength = 8;
constexpr std::size_t kProductLength = 16;
constexpr std::size_t kRevisionLength = 4;

std::string Field(std::string_view text, std::size_t from, std::size_t length) {
  std::string_view field = text.substr(std::min(from, text.size()), length);
  field = field.substr(0, field.find_last_not_of(' ') + 1);
  return std::string(field);
}

}  // namespace

nlohmann::ordered_json DriveJson(std::string_view entry, scsi::TransportKind kind,
                         platform::DeviceIo& devices) {
  const bool aspi = kind == scsi::TransportKind::Aspi;
  const std::string_view mark = aspi ? "  " : " :  ";
  const std::size_t end = std::min(entry.find(mark), entry.size());
  const std::string label(entry.substr(0, end));
  const std::string_view text = entry.substr(std::min(end + mark.size(), entry.size()));

  nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
  if (!aspi) {
    scsi::DriveAddress address{};
    scsi::ReadDriveLabel(label, kind, address);
    for (const std::string& node : devices.SystemNodes(scsi::DeviceName(kind, address.deviceNumber)))
      nodes.push_back(node);
  }
  return {{"label", label},
          {"nodes", nodes},
          {"vendor", Field(text, 0, kVendorLength)},
          {"product", Field(text, kVendorLength, kProductLength)},
          {"revision", Field(text, kVendorLength + kProductLength, kRevisionLength)}};
}

nlohmann::ordered_json FileJson(const std::string& name, const firmware::FirmwareImage& identity,
                        const std::string& driveLine, platform::FileSystem& files) {
  if (identity.fileTypeIndex == firmware::kNoTypeCodeRow) {
    const bool opens = files.OpenForReading(name).file != nullptr;
    return {{"name", name},
            {"usable", false},
            {"reason", opens ? "not a firmware file of a known type" : "cannot be opened"}};
  }
  return {{"name", name},
          {"usable", true},
          {"form", firmware::RowIsScrambled(identity.fileTypeIndex) ? "stored" : "plain"},
          {"drive", driveLine},
          {"type_code", identity.fileTypeCode.data()},
          {"short_id", identity.fileShortId.data()}};
}

}  // namespace zentor::app::cli
