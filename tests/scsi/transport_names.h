#pragma once

#include <ostream>

#include "scsi/scsi_request.h"

namespace zentor::scsi {

// Test names and failure messages say which transport ran.
inline void PrintTo(TransportKind kind, std::ostream* out) {
  switch (kind) {
    case TransportKind::Aspi:
      *out << "Aspi";
      break;
    case TransportKind::DriveLetter:
      *out << "DriveLetter";
      break;
    case TransportKind::CdromDevice:
      *out << "CdromDevice";
      break;
  }
}

}  // namespace zentor::scsi
