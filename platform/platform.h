// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>

#include "platform/aspi_manager.h"
#include "platform/clock.h"
#include "platform/device_io.h"
#include "platform/machine_keeper.h"
#include "platform/program_file.h"

namespace zentor::platform {

// The operating-system families the program knows how to reach drives on.
inline constexpr int kFamilyWithAspiManager = 1;
inline constexpr int kFamilyWithPassThrough = 2;

// Everything the program needs from the operating system, behind one interface:
// platform/linux is the real one, platform/sim a bus of virtual drives.
class Platform : public DeviceIo, public Clock, public ProgramFile, public MachineKeeper {
 public:
  // 1 = the family whose drives are reached through an ASPI manager, 2 = pass-through.
  virtual int OsFamily() = 0;

  // Loads the ASPI manager library and takes its two entry points by name. When one is
  // missing the library is unloaded again before the failure is returned.
  virtual AspiLoad LoadAspiManager() = 0;
  // Nullptr when no event can be made.
  virtual std::unique_ptr<CompletionEvent> CreateCompletionEvent() = 0;
};

}  // namespace zentor::platform
