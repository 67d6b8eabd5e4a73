#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zentor::platform {

// An open device as the operating system hands it out (a file descriptor on Linux).
using DeviceHandle = std::intptr_t;
inline constexpr DeviceHandle kNoDevice = -1;

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

  // False when the request never reached the drive; ScsiStatus then keeps its preset value.
  virtual bool SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) = 0;

  virtual void CloseDevice(DeviceHandle device) = 0;
};

}  // namespace zentor::platform
