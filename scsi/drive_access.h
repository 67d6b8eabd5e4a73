// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/device_io.h"
#include "scsi/aspi_transport.h"
#include "scsi/pass_through_transport.h"
#include "scsi/scsi_request.h"

namespace zentor::scsi {

// The command block with its transport: every command the program sends to a drive goes
// through here. A builder prepares the block and calls Dispatch; the result is 1 for good
// status and 0 for anything else, with lastAsc/lastAscq telling what the drive reported.
class DriveAccess {
 public:
  explicit DriveAccess(platform::DeviceIo& devices) : passThrough_(devices) {}

  TransportKind transportKind = TransportKind::Aspi;
  // Host adapters the ASPI manager reported at start-up.
  std::uint16_t adapterCount = 0;

  ScsiRequest& request() { return request_; }
  const ScsiRequest& request() const { return request_; }
  PassThroughTransport& passThrough() { return passThrough_; }
  // The loaded ASPI manager carries every command on the Aspi transport from now on.
  void AttachAspi(std::unique_ptr<AspiTransport> aspi) { aspi_ = std::move(aspi); }
  AspiTransport* aspi() { return aspi_.get(); }

  // Sends the prepared block over the transport that start-up chose. A transfer longer
  // than the data buffer is refused before anything is sent.
  int Dispatch(std::uint32_t transferLength);

  // The common first steps of every builder: target, direction, CDB length and the CDB
  // bytes given. CDB bytes beyond those keep what an earlier command left.
  void PrepareCommand(std::uint8_t flags, std::uint8_t cdbLength,
                      std::initializer_list<std::uint8_t> cdbBytes);

  // Standard INQUIRY for 36 bytes.
  int Inquiry();

  // INQUIRY bytes 8..35 (vendor, product, revision) as they are, up to the first NUL.
  std::string IdentificationText() const;
  // INQUIRY bytes 16..31, all 16 of them: the key for the model and loader tables.
  std::array<std::uint8_t, 16> ProductId() const;

  // Sets the address fields the current transport uses from a drive-list label. On a
  // pass-through transport the cached handle is closed and emptied, so the next command
  // opens the labelled device.
  void ParseDriveLabel(std::string_view label);

  // Claims the addressed drive for this program alone until the pass-through handle is
  // closed; the commands that follow go through the claimed handle. An ASPI manager owns
  // its bus and offers no claim, so there the drive is taken as it is. False when the
  // drive cannot be opened or another program holds it, inUse then saying which.
  bool ClaimDrive(std::optional<platform::DriveInUse>& inUse);

 private:
  ScsiRequest request_;
  PassThroughTransport passThrough_;
  std::unique_ptr<AspiTransport> aspi_;
};

}  // namespace zentor::scsi
