// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "firmware/firmware_image.h"
#include "platform/device_io.h"
#include "platform/file_system.h"
#include "scsi/scsi_request.h"

namespace zentor::app::cli {

// A drive-list entry as scripts see it: {"label": the entry's label, as --drive takes it,
// "nodes": the system's nodes of the drive, "vendor", "product", "revision"}.
nlohmann::ordered_json DriveJson(std::string_view entry, scsi::TransportKind kind,
                         platform::DeviceIo& devices);

// A firmware file as scripts see it, from the identity the dialog took when it was selected
// and the drive line it showed: {"name", "usable": true, "form": "stored" or "plain",
// "drive", "type_code", "short_id"}, or {"name", "usable": false, "reason"}.
nlohmann::ordered_json FileJson(const std::string& name, const firmware::FirmwareImage& identity,
                        const std::string& driveLine, platform::FileSystem& files);

}  // namespace zentor::app::cli
