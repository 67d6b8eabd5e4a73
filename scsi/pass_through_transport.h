// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include "platform/device_io.h"
#include "scsi/scsi_request.h"

namespace zentor::scsi {

// The pass-through back end: one cached device handle, opened by the first command after it
// was emptied and used by every later command until it is closed, whatever the drive address
// says by then. Discovery and the Start action decide when it is closed.
class PassThroughTransport {
 public:
  explicit PassThroughTransport(platform::DeviceIo& devices) : devices_(devices) {}
  ~PassThroughTransport() { CloseCachedDeviceHandle(); }
  PassThroughTransport(const PassThroughTransport&) = delete;
  PassThroughTransport& operator=(const PassThroughTransport&) = delete;

  // Sends the prepared request; 1 for GOOD status, 0 otherwise, with lastAsc/lastAscq set
  // from the sense data on CHECK CONDITION and cleared on every other outcome.
  int SendPassThrough(ScsiRequest& request, TransportKind kind, std::uint32_t transferLength);

  // Opens the device the kind and number name as a claim (DeviceIo::ClaimDevice) and caches
  // it for the commands that follow; any handle cached before is closed first. False when
  // the device cannot be opened or another program holds it, inUse then saying which.
  bool ClaimDevice(TransportKind kind, std::uint8_t deviceNumber,
                   std::optional<platform::DriveInUse>& inUse);

  // Closes the cached handle if one is open and empties the cache, so the next command opens
  // its device anew. Emptying always closes: a handle is never forgotten while open.
  void CloseCachedDeviceHandle();
  bool HasCachedDeviceHandle() const { return CachedDeviceHandle.has_value(); }

  // True when at least one of the CD-ROM class devices 0..9 opens. All ten are tried and
  // each one that opens is closed again at once.
  bool ProbeCdromDevices();

 private:
  platform::DeviceIo& devices_;
  // Empty at start; at most one device is open at any time.
  std::optional<platform::DeviceHandle> CachedDeviceHandle;
};

}  // namespace zentor::scsi
