// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/windows_device_io.h"

#include <windows.h>
// After windows.h, which it needs.
#include <ntddscsi.h>

#include <algorithm>
#include <cstddef>

#include "platform/pass_through_request.h"
#include "platform/windows/native_pass_through.h"
#include "platform/windows/wide_text.h"

namespace zentor::platform::windows {
namespace {

// The layout native_pass_through.h writes by hand is the compiler's own here.
static_assert(sizeof(SCSI_PASS_THROUGH) == kNativeHeaderSize);
static_assert(offsetof(SCSI_PASS_THROUGH, DataTransferLength) == 12);
static_assert(offsetof(SCSI_PASS_THROUGH, TimeOutValue) == 16);
static_assert(offsetof(SCSI_PASS_THROUGH, DataBufferOffset) == 24);
static_assert(offsetof(SCSI_PASS_THROUGH, SenseInfoOffset) == 32);
static_assert(offsetof(SCSI_PASS_THROUGH, Cdb) == 36);
static_assert(IOCTL_SCSI_PASS_THROUGH == 0x4D004);

HANDLE HandleOf(DeviceHandle device) {
  return reinterpret_cast<HANDLE>(device);
}

DeviceHandle Open(const std::string& name) {
  const HANDLE handle =
      CreateFileW(Wide(name).c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  return handle == INVALID_HANDLE_VALUE ? kNoDevice : reinterpret_cast<DeviceHandle>(handle);
}

// The claim's name: the drive's SCSI address, the same through each of its names ("cdrom0"
// and its drive letter); the device name only where the system gives no address. Reading
// the address sends nothing to the drive.
std::string ClaimKeyOf(HANDLE device, std::string name) {
  SCSI_ADDRESS address{};
  address.Length = sizeof address;
  DWORD returned = 0;
  if (DeviceIoControl(device, IOCTL_SCSI_GET_ADDRESS, nullptr, 0, &address, sizeof address,
                      &returned, nullptr)) {
    return "zentor-drive-scsi-" + std::to_string(address.PortNumber) + "-" +
           std::to_string(address.PathId) + "-" + std::to_string(address.TargetId) + "-" +
           std::to_string(address.Lun);
  }
  std::ranges::replace(name, '\\', '_');
  return "zentor-drive-" + name;
}

// A claim: the mutex, and whether another process already held it.
struct Claim {
  HANDLE mutex = nullptr;
  bool heldElsewhere = false;
};

// Taken in the machine-wide namespace, so that copies in other sessions (another user, a
// remote desktop) meet too; in the session's own only where the system refuses the global
// one.
Claim TakeClaim(const std::string& key) {
  const std::string global = "Global\\" + key;
  HANDLE mutex = CreateMutexA(nullptr, TRUE, global.c_str());
  DWORD error = GetLastError();
  if (mutex) return {mutex, error == ERROR_ALREADY_EXISTS};
  if (error != ERROR_ACCESS_DENIED) return {};
  // Refused: either another user's copy holds the drive (its mutex is not ours to open), or
  // this user may not make global objects at all.
  if (const HANDLE existing = OpenMutexA(SYNCHRONIZE, FALSE, global.c_str())) {
    CloseHandle(existing);
    return {nullptr, true};
  }
  if (GetLastError() == ERROR_ACCESS_DENIED) return {nullptr, true};
  mutex = CreateMutexA(nullptr, TRUE, ("Local\\" + key).c_str());
  error = GetLastError();
  return {mutex, mutex && error == ERROR_ALREADY_EXISTS};
}

}  // namespace

WindowsDeviceIo::~WindowsDeviceIo() {
  for (const auto& [device, mutex] : claims_) {
    CloseHandle(HandleOf(device));
    CloseHandle(mutex);
  }
}

DeviceHandle WindowsDeviceIo::OpenDevice(const std::string& name) {
  return Open(name);
}

DeviceClaim WindowsDeviceIo::ClaimDevice(const std::string& name) {
  const DeviceHandle device = Open(name);
  if (device == kNoDevice) return {};
  const Claim claim = TakeClaim(ClaimKeyOf(HandleOf(device), name));
  if (!claim.mutex || claim.heldElsewhere) {
    if (claim.mutex) CloseHandle(claim.mutex);
    CloseHandle(HandleOf(device));
    return claim.heldElsewhere ? DeviceClaim{kNoDevice, DriveInUse{name, false}} : DeviceClaim{};
  }
  claims_[device] = claim.mutex;
  return {device, std::nullopt};
}

bool WindowsDeviceIo::SendPassThrough(DeviceHandle device, std::span<std::uint8_t> request) {
  const auto view = ViewPassThrough(request);
  if (!view) return false;
  std::vector<std::uint8_t> native = BuildNativeRequest(*view);
  DWORD returned = 0;
  const auto size = static_cast<DWORD>(native.size());
  if (!DeviceIoControl(HandleOf(device), IOCTL_SCSI_PASS_THROUGH, native.data(), size,
                       native.data(), size, &returned, nullptr)) {
    return false;
  }
  CopyNativeOutcome(native, request, *view);
  return true;
}

void WindowsDeviceIo::CloseDevice(DeviceHandle device) {
  CloseHandle(HandleOf(device));
  if (const auto claim = claims_.extract(device)) CloseHandle(claim.mapped());
}

}  // namespace zentor::platform::windows
