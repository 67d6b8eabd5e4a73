// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

namespace zentor::scsi {

// A transport that cannot be set up ends the program after a message box; this is what the
// box shows. The dialog turns it into a real box captioned with the program's name.
struct StartupFailure {
  enum class Icon { Stop, Exclamation };
  std::string text;
  Icon icon = Icon::Stop;
};

}  // namespace zentor::scsi
