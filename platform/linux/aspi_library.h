// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/aspi_manager.h"

namespace zentor::platform::linux_os {

// The name the ASPI manager library is loaded by on Linux.
inline constexpr const char* kAspiLibraryName = "libwnaspi32.so";

// dlopen() of the library and dlsym() of GetASPI32SupportInfo and SendASPI32Command. A
// library that lacks either is closed again before the failure is returned.
AspiLoad LoadAspiLibrary(const char* name = kAspiLibraryName);

}  // namespace zentor::platform::linux_os
