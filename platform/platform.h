#pragma once

#include "platform/clock.h"
#include "platform/device_io.h"

namespace zentor::platform {

// The operating-system families the program knows how to reach drives on.
inline constexpr int kFamilyWithAspiManager = 1;
inline constexpr int kFamilyWithPassThrough = 2;

// Everything the program needs from the operating system, behind one interface:
// platform/linux is the real one, platform/sim a bus of virtual drives.
class Platform : public DeviceIo, public Clock {
 public:
  // 1 = the family whose drives are reached through an ASPI manager, 2 = pass-through.
  virtual int OsFamily() = 0;
};

}  // namespace zentor::platform
