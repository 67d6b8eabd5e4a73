#include "platform/linux/linux_device_io.h"

#include <fcntl.h>

#include <cerrno>

#include "platform/linux/device_path.h"
#include "platform/linux/sg_io_translation.h"
#include "platform/pass_through_request.h"

namespace zentor::platform::linux_os {

// Read and write access is what SG_IO needs for vendor commands. O_NONBLOCK lets an open
// succeed on a drive without a disc (or in update mode) instead of waiting for the medium.
// Nothing is probed first: a missing or unusable node is simply a failed open.
constexpr int kOpenFlags = O_RDWR | O_NONBLOCK | O_CLOEXEC;

DeviceHandle LinuxDeviceIo::OpenDevice(const std::string& name) {
  const auto path = DevicePathFor(name);
  if (!path) return kNoDevice;
  const int fd = syscalls_.Open(path->c_str(), kOpenFlags);
  if (fd < 0) {
    NoteFailure(errno);
    return kNoDevice;
  }
  return fd;
}

bool LinuxDeviceIo::SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) {
  auto view = ViewPassThrough(request);
  if (!view || device == kNoDevice) return false;
  sg_io_hdr io = ToSgIo(*view);
  if (syscalls_.Ioctl(static_cast<int>(device), SG_IO, &io) < 0) {
    NoteFailure(errno);
    return false;
  }

  NormaliseSense(io, *view);
  StoreScsiStatus(request, ScsiStatusOf(io));
  const int moved = static_cast<int>(io.dxfer_len) - io.resid;
  StoreTransferred(request, moved > 0 ? static_cast<std::uint32_t>(moved) : 0,
                   static_cast<std::uint8_t>(view->sense.size()));
  return true;
}

void LinuxDeviceIo::NoteFailure(int error) {
  if (error == EACCES || error == EPERM) ++permissionRefusals_;
}

void LinuxDeviceIo::CloseDevice(DeviceHandle device) {
  if (device != kNoDevice) syscalls_.Close(static_cast<int>(device));
}

}  // namespace zentor::platform::linux_os
