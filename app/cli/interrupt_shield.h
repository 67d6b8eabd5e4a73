// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>

namespace zentor::app::cli {

// While it lives, Ctrl-C, Ctrl-\, a hang-up and a plain kill do not end the program (on
// Windows: Ctrl-C and Ctrl-Break): a drive left between erasing and programming its flash
// does not start again. Each such signal gets a note on stderr instead. Only SIGKILL (and a
// power cut) still ends the program. On Windows the console window's close box is also taken
// away while the shield lives, since Windows ends a program whose console is closed within
// seconds (five by default), whatever it answers; where the box cannot be taken (another
// terminal), a note says that closing the window ends the update. (Sleep, log-off and
// shutdown are held off by the update itself, as far as the system allows, through the
// platform.)
class InterruptShield {
 public:
  InterruptShield();
  ~InterruptShield();
  InterruptShield(const InterruptShield&) = delete;
  InterruptShield& operator=(const InterruptShield&) = delete;

 private:
  struct Saved;  // what the system had before, to put back
  std::unique_ptr<Saved> saved_;
};

}  // namespace zentor::app::cli
