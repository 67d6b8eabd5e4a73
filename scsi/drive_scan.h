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

// Adds the label of the device that just answered INQUIRY when its model is supported.
void ListIfSupported(const DriveAccess& drives, const ModelRecord* table,
                     std::vector<std::string>& labels);

}  // namespace zentor::scsi
