#pragma once

#include <ostream>

#include "scsi/scsi_request.h"

namespace zentor::scsi {

// Test names and failure messages say which transport ran.
inline void PrintTo(TransportKind kind, std::ostream* out) {
  static const char* const kNames[] = {"Aspi", "DriveLetter", "CdromDevice"};
  *out << kNames[static_cast<int>(kind)];
}

}  // namespace zentor::scsi
