// SPDX-License-Identifier: GPL-2.0-or-later
#include "scsi/aspi_startup.h"

namespace zentor::scsi {
namespace {

constexpr std::uint32_t kManagerReady = 1;

}  // namespace

std::optional<StartupFailure> LoadAspiManagerAtStartup(platform::Platform& platform,
                                                       DriveAccess& drives) {
  auto load = platform.LoadAspiManager();
  switch (load.failure) {
    case platform::AspiLoad::Failure::LibraryNotFound:
      return StartupFailure{"Not found 'ASPI32.DLL'", StartupFailure::Icon::Stop};
    case platform::AspiLoad::Failure::EntryPointMissing:
      return StartupFailure{"ASPI Function Error 'ASPI32.DLL'", StartupFailure::Icon::Stop};
    case platform::AspiLoad::Failure::None:
      break;
  }
  const std::uint32_t supportInfo = load.manager->GetASPI32SupportInfo();
  // Bits 8..15 are the manager's status, bits 0..7 the adapter count; the rest means nothing.
  if (((supportInfo >> 8) & 0xFF) != kManagerReady) {
    return StartupFailure{"Not found ASPI MANAGER", StartupFailure::Icon::Stop};
  }
  drives.adapterCount = static_cast<std::uint16_t>(supportInfo & 0xFF);
  drives.AttachAspi(std::make_unique<AspiTransport>(std::move(load.manager), platform));
  return std::nullopt;
}

}  // namespace zentor::scsi
