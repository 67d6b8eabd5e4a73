// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

#include "scsi/drive_access.h"
#include "scsi/model_table.h"

namespace zentor::scsi {

// Asks every pass-through device number 0..99 for its INQUIRY data and returns, in scan
// order, the labels of the devices whose product identification is in the table. Each
// device is open only for its own INQUIRY; a device that cannot be opened, fails the
// command or is not a supported model is skipped without a word.
std::vector<std::string> ScanPassThrough(DriveAccess& drives,
                                         const ModelRecord* table = ModelTable);

// Asks every ASPI address, host adapters 0..adapterCount-1 with targets 0..7 (LUN 0), and
// returns the labels of the supported drives in scan order.
std::vector<std::string> ScanAspi(DriveAccess& drives, const ModelRecord* table = ModelTable);

// The scan of the transport that start-up chose.
std::vector<std::string> ScanDrives(DriveAccess& drives, const ModelRecord* table = ModelTable);

// Adds the label of the device that just answered INQUIRY when its model is supported.
void ListIfSupported(const DriveAccess& drives, const ModelRecord* table,
                     std::vector<std::string>& labels);

}  // namespace zentor::scsi
