#include "platform/windows/windows_device_io.h"

#include <windows.h>
// After windows.h, which it needs.
#include <ntddscsi.h>

#include <algorithm>
#include <cstddef>

#include "platform/pass_through_request.h"
#include "platform/windows/native_pass_through.h"

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
  const HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    0, nullptr);
  return handle == INVALID_HANDLE_VALUE ? kNoDevice : reinterpret_cast<DeviceHandle>(handle);
}

// One name per device for the claim's mutex: the device name without its backslashes, in
// the session's namespace.
std::string ClaimNameOf(std::string device) {
  std::ranges::replace(device, '\\', '_');
  return "Local\\zentor-drive-" + device;
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
  const HANDLE mutex = CreateMutexA(nullptr, TRUE, ClaimNameOf(name).c_str());
  if (mutex == nullptr) return {};
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return {kNoDevice, DriveInUse{name, false}};
  }
  const DeviceHandle device = Open(name);
  if (device == kNoDevice) {
    CloseHandle(mutex);
    return {};
  }
  claims_[device] = mutex;
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
