// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace zentor::platform {

// An open device as the operating system hands it out (a file descriptor on Linux).
using DeviceHandle = std::intptr_t;
inline constexpr DeviceHandle kNoDevice = -1;

// Why the system kept the program from drives for lack of permission, so that the user
// can be told what was refused and what would allow it.
struct PermissionRefusals {
  // Nodes the user may not open for reading and writing.
  std::vector<std::string> refusedNodes;
  // A node that opened but whose vendor commands need a capability (on Linux /dev/srN and
  // CAP_SYS_RAWIO), with the drive's node that would need none (empty when it has none).
  std::optional<std::pair<std::string, std::string>> refusedCommands;

  bool any() const { return !refusedNodes.empty() || refusedCommands.has_value(); }
};

// Another program's hold on a drive, found when this one tried to claim it for an update.
struct DriveInUse {
  std::string node;          // the node that was found held, as the system names it
  bool discMounted = false;  // held because a file system on the drive's disc is mounted
};

// A drive that went away while the program talked to it (unplugged, powered off, deleted by
// the kernel): the node it was reached by and the system's error.
struct LostDrive {
  std::string node;
  std::string error;
};

// What claiming a drive for an update came to: the open handle, or kNoDevice with the
// reason when another program holds the drive (no reason when it merely cannot be opened).
struct DeviceClaim {
  DeviceHandle device = kNoDevice;
  std::optional<DriveInUse> inUse;
};

// Opening a drive by its program-side name and sending it pass-through requests.
//
// Names are the ones the program builds for every platform ("\\.\cdrom3", "\\.\d:"); each
// back end maps them onto its own devices. A pass-through request is one contiguous buffer:
// the 44-byte header of pass_through_header.h, the sense area and the data, in the places
// the header's offsets name. The back end reads the header, carries the command to the
// drive and writes the outcome back into the same buffer.
class DeviceIo {
 public:
  virtual ~DeviceIo() = default;

  // kNoDevice when the device does not exist or cannot be opened for reading and writing.
  virtual DeviceHandle OpenDevice(const std::string& name) = 0;

  // Opens the device as OpenDevice does and claims the drive behind it for this process
  // alone until the handle is closed: while one update holds a drive, no other update, of
  // this program or another, reaches it through any of its names. Nothing is sent to the
  // drive to find out.
  virtual DeviceClaim ClaimDevice(const std::string& name) = 0;

  // False when the request never reached the drive; ScsiStatus then keeps its preset value.
  virtual bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) = 0;

  virtual void CloseDevice(DeviceHandle device) = 0;

  // The system's own names of the device, for people and scripts to recognise it by (on
  // Linux /dev/srN and its generic node); the program's name where the system has none.
  virtual std::vector<std::string> SystemNodes(const std::string& name) { return {name}; }

  // What was refused for lack of permission so far; nothing where a back end cannot tell.
  virtual PermissionRefusals permissionRefusals() const { return {}; }

  // The first drive that went away during a request; nothing where a back end cannot tell.
  virtual std::optional<LostDrive> lostDrive() const { return std::nullopt; }
};

}  // namespace zentor::platform
